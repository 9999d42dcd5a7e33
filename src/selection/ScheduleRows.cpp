#include "selection/ScheduleRows.h"

#include "platform/Paths.h"
#include "settings/DateText.h"

#include <array>
#include <vector>

namespace merivane {

namespace {
constexpr int kAnyDay = 999;

// The keys each header sorts by, in turn, the last one deciding.
const std::array<std::vector<int>, 8> kSortKeys = {{
    {kTypeColumn, kFilenameColumn},
    {kFilenameColumn, kTypeColumn},
    {kFilenameColumn, kFavColumn},
    {kFilenameColumn, kDaysColumn, kStartHiddenColumn},
    {kFilenameColumn, kEndHiddenColumn},
    {kFilenameColumn, kDaysColumn},
    {kFilenameColumn, kOverrideColumn},
    {kFilenameColumn, kOverrideDatesColumn},
}};

// The days column compares as its text does ("   0" first, " All" after every count).
int DaysKey(std::int16_t days) {
    if (days < 1) {
        return 0;
    }
    return days >= kAnyDay ? kAnyDay + 1 : days;
}

int OverrideKey(const ScheduleRow& row) {
    if (row.OverrideText.isEmpty()) {
        return 0;
    }
    return row.Priority == 1 ? 2 : 1;  // "Exclusive" before "Priority"
}

template <typename T>
int Compare(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareBy(const ScheduleRow& a, const ScheduleRow& b, int column) {
    switch (column) {
        case kFilenameColumn:
            return a.Name.compare(b.Name, Qt::CaseInsensitive);
        case kTypeColumn:
            return Compare(!a.IsTheme, !b.IsTheme);
        case kFavColumn:
            return Compare(a.IsFavorite, b.IsFavorite);
        case kDaysColumn:
            return Compare(DaysKey(a.DaysShown), DaysKey(b.DaysShown));
        case kOverrideColumn:
            return Compare(OverrideKey(a), OverrideKey(b));
        case kOverrideDatesColumn:
            return a.OverrideText.compare(b.OverrideText, Qt::CaseInsensitive);
        case kStartHiddenColumn:
            return Compare(static_cast<qint64>(WholeDays(a.StartDate)),
                           static_cast<qint64>(WholeDays(b.StartDate)));
        case kEndHiddenColumn:
            return Compare(static_cast<qint64>(WholeDays(a.EndDate)),
                           static_cast<qint64>(WholeDays(b.EndDate)));
        default:
            return 0;
    }
}
}  // namespace

void ScheduleRow::Fill(const FileEntry& entry) {
    FullName = entry.FileName;
    IsTheme = entry.IsTheme;
    IsFavorite = entry.IsFavorite;
    StartDate = entry.StartDate;
    EndDate = entry.EndDate;
    DaysShown = entry.DaysShown;
    Priority = entry.Priority;
    OverrideText = entry.OverrideText;
}

const QStringList& ScheduleHeaders() {
    static const QStringList headers = {QStringLiteral("Filename"),
                                        QStringLiteral("Type"),
                                        QStringLiteral("Fav"),
                                        QStringLiteral("Starts"),
                                        QStringLiteral("Ends"),
                                        QStringLiteral("Days"),
                                        QStringLiteral("Override"),
                                        QStringLiteral("Override Date(s)"),
                                        QStringLiteral("StartHidden"),
                                        QStringLiteral("EndHidden"),
                                        QStringLiteral("FullFilenameHidden")};
    return headers;
}

QString ScheduleText(const ScheduleRow& row, int column) {
    const bool never = row.DaysShown < 1;
    const bool any = row.DaysShown >= kAnyDay;
    switch (column) {
        case kFilenameColumn:
            return row.Name;
        case kTypeColumn:
            return row.IsTheme ? QStringLiteral("Theme") : QStringLiteral("Wallpaper");
        case kFavColumn:
            return row.IsFavorite ? QStringLiteral("Y") : QString();
        case kStartsColumn:
        case kEndsColumn:
            if (never) {
                return QStringLiteral("Never");
            }
            if (any) {
                return QStringLiteral("Any day");
            }
            return MediumDateText(column == kStartsColumn ? row.StartDate : row.EndDate);
        case kDaysColumn:
            if (never) {
                return QStringLiteral("   0");
            }
            if (any) {
                return QStringLiteral(" All");
            }
            return QString::number(row.DaysShown).rightJustified(4, u' ');
        case kOverrideColumn:
            if (row.OverrideText.isEmpty()) {
                return QString();
            }
            return row.Priority == 1 ? QStringLiteral("Priority") : QStringLiteral("Exclusive");
        case kOverrideDatesColumn:
            return row.OverrideText;
        case kStartHiddenColumn:
            return QString::number(static_cast<qint64>(WholeDays(row.StartDate)));
        case kEndHiddenColumn:
            return QString::number(static_cast<qint64>(WholeDays(row.EndDate)));
        case kFullFilenameHiddenColumn:
            return row.FullName;
        default:
            return QString();
    }
}

ScheduleRow ScheduleRowOf(const FileEntry& entry, const AppSettings& setup) {
    ScheduleRow row;
    if (setup.ShowSubfolders) {
        const QString& folder = entry.IsTheme ? setup.ThemePath : setup.WallpaperPath;
        row.Name = entry.FileName.mid(folder.length());
    } else {
        row.Name = FileNameOf(entry.FileName);
    }
    row.Fill(entry);
    return row;
}

std::vector<ScheduleRow> ScheduleRowsOf(const std::vector<FileEntry>& catalogue, const AppSettings& setup) {
    std::vector<ScheduleRow> rows;
    rows.reserve(catalogue.size());
    for (const FileEntry& entry : catalogue) {
        rows.push_back(ScheduleRowOf(entry, setup));
    }
    return rows;
}

bool ScheduleRowBefore(const ScheduleRow& a, const ScheduleRow& b, int column, Qt::SortOrder order) {
    if (column < 0 || column >= static_cast<int>(kSortKeys.size())) {
        return false;
    }
    const std::vector<int>& keys = kSortKeys[static_cast<size_t>(column)];
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        const int c = CompareBy(a, b, *key);
        if (c != 0) {
            return order == Qt::AscendingOrder ? c < 0 : c > 0;
        }
    }
    return false;
}

}  // namespace merivane
