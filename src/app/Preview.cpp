#include "app/Preview.h"

#include "app/ReadOnlyProgram.h"
#include "apply/ThemeValues.h"
#include "apply/WallpaperTheme.h"
#include "calendar/DateRules.h"
#include "calendar/Matching.h"
#include "calendar/Words.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "selection/Catalogue.h"
#include "selection/Choice.h"
#include "settings/DateText.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <map>
#include <random>

namespace merivane {

namespace {

class PreviewClock final : public Clock {
  public:
    SerialDate Now() const override { return now; }
    SerialDate now = 0;
};

// The program's random source, seeded from the year so that a preview can be repeated.
class SeededRandom final : public Random {
  public:
    explicit SeededRandom(unsigned seed) : m_engine(seed) {}
    void SeedFromClock() override {}
    double Next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

  private:
    std::mt19937 m_engine;
};

// The times of day of the changes: ScheduledTime, and the day's other slots of a timed method.
std::vector<SerialDate> SlotsOf(const AppSettings& setup) {
    const SerialDate first = setup.ScheduledTime - WholeDays(setup.ScheduledTime);
    const bool timed = setup.TypeOfScheduling == 2 || setup.TypeOfScheduling == 3;
    const int perDay = timed ? std::max<int>(1, setup.ChangesPerDay) : 1;
    std::vector<SerialDate> slots;
    for (int k = 0; k < perDay; ++k) {
        SerialDate slot = first + static_cast<double>(k) / perDay;
        slots.push_back(slot >= 1 ? slot - 1 : slot);
    }
    std::sort(slots.begin(), slots.end());
    return slots;
}
}  // namespace

std::vector<PreviewChange> PreviewChanges(Platform& platform, SerialDate from, int days) {
    PreviewClock clock;
    clock.now = WholeDays(from);
    SeededRandom random(static_cast<unsigned>(DateOfSerial(from).year()));
    ReadOnlyProgram reader(platform, &clock, &random);
    Program& program = reader.Get();
    const std::vector<SerialDate> slots = SlotsOf(program.Setup);
    std::vector<PreviewChange> changes;
    int year = 0;
    for (int d = 0; d < days; ++d) {
        for (SerialDate slot : slots) {
            clock.now = WholeDays(from) + d + slot;
            const int now = DateOfSerial(clock.now).year();
            if (year != 0 && now != year) {
                RefreshFileWindows(program);  // each day's windows are its own year's
            }
            year = now;
            ChangeRecord record = DecideChange(program);
            PreviewChange change;
            change.When = clock.now;
            change.FileName = record.FileName;
            change.Reason = record.Reason;
            change.Candidates = static_cast<int>(program.Candidates.size());
            if (!record.FileName.isEmpty()) {
                for (const FileEntry& entry : program.Candidates) {
                    if (entry.FileName == record.FileName) {
                        change.OwnFile = entry.DaysShown >= 1 && entry.DaysShown < kAnyDay;
                        if (!entry.OverrideText.isEmpty()) {
                            change.Event = entry.OverrideText;
                        } else {
                            const TextMatch match = MatchText(
                                program, TrimBlanks(FileNameOf(PathWithoutExtension(entry.FileName))),
                                program.Setup.UseYearInTitle);
                            if (match.EventIndex >= 0) {
                                change.Event = program.Events[static_cast<size_t>(match.EventIndex)].Name;
                            }
                        }
                        break;
                    }
                }
                // The turn moves on as a real change moves it; nothing is saved.
                RecordChange(program, record);
            }
            changes.push_back(change);
        }
    }
    return changes;
}

QString PreviewText(const std::vector<PreviewChange>& changes) {
    QString text = QStringLiteral("date\ttime\tfile\treason\tcandidates\n");
    for (const PreviewChange& change : changes) {
        const QDateTime when = DateTimeOfSerial(change.When);
        text += when.date().toString(Qt::ISODate) + u'\t' + when.time().toString(QStringLiteral("HH:mm")) +
                u'\t' + (change.FileName.isEmpty() ? QStringLiteral("-") : change.FileName) + u'\t' +
                change.Reason + u'\t' + QString::number(change.Candidates) + u'\n';
    }
    return text;
}

namespace {
constexpr int kCell = 96;  // a day's cell, in pixels of the sheet
constexpr int kThumbHeight = 54;
constexpr int kMonthTitle = 30;
constexpr int kDayNames = 18;
constexpr int kMonthWidth = 7 * kCell;
constexpr int kMonthHeight = kMonthTitle + kDayNames + 6 * kCell;
constexpr int kGap = 16;

// Small pictures of the wallpapers, each file decoded once and at the size it is shown.
class Thumbnails {
  public:
    explicit Thumbnails(const HomeLayout& home) : m_home(home) {}
    const QImage& Of(const QString& file) {
        auto found = m_cache.find(file);
        if (found != m_cache.end()) {
            return found.value();
        }
        return m_cache.insert(file, Load(file)).value();
    }

  private:
    QImage Load(const QString& file) const {
        QString picture = HostPath(m_home, file);
        if (file.toLower().endsWith(QStringLiteral(".theme"))) {
            // A theme shows its own wallpaper.
            const QString value = ProfileFile::ReadString(picture, kDesktopSection,
                                                          QStringLiteral("Wallpaper"), QString(), 256);
            const QString expanded =
                ExpandThemePath(value, FolderOf(file), m_home.WindowsDir, m_home.SystemDir).trimmed();
            picture = expanded.isEmpty() ? QString() : HostPath(m_home, expanded);
        }
        if (picture.isEmpty()) {
            return {};
        }
        QImageReader reader(picture);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (size.isValid() && size.height() > 0) {
            reader.setScaledSize(size.scaled(kCell - 6, kThumbHeight, Qt::KeepAspectRatio));
        }
        return reader.read();
    }

    const HomeLayout& m_home;
    QHash<QString, QImage> m_cache;
};

// One month of the sheet at `origin`: its days in a week grid, each with its picture.
void DrawMonth(QPainter& painter, QPoint origin, const QDate& month,
               const std::map<qint64, const PreviewChange*>& byDay, Thumbnails& thumbnails) {
    QFont title = painter.font();
    title.setPixelSize(18);
    title.setBold(true);
    QFont small = painter.font();
    small.setPixelSize(11);
    painter.setFont(title);
    painter.setPen(Qt::black);
    painter.drawText(QRect(origin.x(), origin.y(), kMonthWidth, kMonthTitle), Qt::AlignCenter,
                     QLocale::c().toString(month, QStringLiteral("MMMM yyyy")));
    painter.setFont(small);
    const char* const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int i = 0; i < 7; ++i) {
        painter.drawText(QRect(origin.x() + i * kCell, origin.y() + kMonthTitle, kCell, kDayNames),
                         Qt::AlignCenter, QString::fromLatin1(names[i]));
    }
    const int lead = month.dayOfWeek() % 7;  // Sunday first
    for (int day = 1; day <= month.daysInMonth(); ++day) {
        const int cell = lead + day - 1;
        const QRect box(origin.x() + (cell % 7) * kCell,
                        origin.y() + kMonthTitle + kDayNames + (cell / 7) * kCell, kCell, kCell);
        const QDate date(month.year(), month.month(), day);
        auto found = byDay.find(static_cast<qint64>(WholeDays(SerialFromDate(date))));
        const PreviewChange* change = found == byDay.end() ? nullptr : found->second;
        const bool own = change != nullptr && change->OwnFile;
        // A day without a file of its own is shaded.
        painter.fillRect(box.adjusted(1, 1, -1, -1), own ? QColor(255, 255, 255) : QColor(232, 232, 232));
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(3, 1, -3, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(day));
        if (change == nullptr || change->FileName.isEmpty()) {
            painter.setPen(QColor(160, 0, 0));
            painter.drawText(box, Qt::AlignCenter, QStringLiteral("nothing"));
            continue;
        }
        const QImage& picture = thumbnails.Of(change->FileName);
        if (!picture.isNull()) {
            const QPoint at(box.x() + (kCell - picture.width()) / 2,
                            box.y() + 15 + (kThumbHeight - picture.height()) / 2);
            painter.drawImage(at, picture);
        }
        const QString label =
            change->Event.isEmpty() ? FileNameOf(PathWithoutExtension(change->FileName)) : change->Event;
        painter.setPen(own ? QColor(0, 0, 128) : QColor(90, 90, 90));
        painter.drawText(QRect(box.x() + 2, box.bottom() - 24, kCell - 4, 24),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         painter.fontMetrics().elidedText(label, Qt::ElideRight, 2 * (kCell - 6)));
    }
}
}  // namespace

bool WritePreviewSheet(const std::vector<PreviewChange>& changes, const HomeLayout& home, const QString& path,
                       QString* error) {
    // The day's first change stands for the day.
    std::map<qint64, const PreviewChange*> byDay;
    std::vector<QDate> months;
    for (const PreviewChange& change : changes) {
        const qint64 day = static_cast<qint64>(WholeDays(change.When));
        byDay.emplace(day, &change);
        const QDate date = DateOfSerial(change.When);
        const QDate month(date.year(), date.month(), 1);
        if (months.empty() || months.back() != month) {
            months.push_back(month);
        }
    }
    Thumbnails thumbnails(home);
    if (path.toLower().endsWith(QStringLiteral(".pdf"))) {
        QPdfWriter writer(path);
        writer.setResolution(96);
        writer.setPageSize(
            QPageSize(QSize(kMonthWidth + 2 * kGap, kMonthHeight + 2 * kGap) * 72 / 96, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(QStringLiteral("Merivane: the changes of each day"));
        writer.setCreator(QStringLiteral("Merivane"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        for (size_t i = 0; i < months.size(); ++i) {
            if (i > 0) {
                writer.newPage();
            }
            DrawMonth(painter, QPoint(kGap, kGap), months[i], byDay, thumbnails);
        }
        painter.end();
        return true;
    }
    const int columns = std::min<int>(3, static_cast<int>(std::max<size_t>(1, months.size())));
    const int rows =
        static_cast<int>((months.size() + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
    QImage sheet(columns * (kMonthWidth + kGap) + kGap, std::max(1, rows) * (kMonthHeight + kGap) + kGap,
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        for (size_t i = 0; i < months.size(); ++i) {
            const int c = static_cast<int>(i) % columns;
            const int r = static_cast<int>(i) / columns;
            DrawMonth(painter, QPoint(kGap + c * (kMonthWidth + kGap), kGap + r * (kMonthHeight + kGap)),
                      months[i], byDay, thumbnails);
        }
    }
    if (!sheet.save(path, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

}  // namespace merivane
