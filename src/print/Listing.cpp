#include "print/Listing.h"

#include "calendar/Matching.h"
#include "selection/ScheduleRows.h"
#include "settings/DateText.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <cmath>

namespace merivane {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kLeft = 440;
constexpr double kTop = 400;
constexpr double kTitleSize = 20;
constexpr double kTextSize = 11;
constexpr int kLineWidth = 3;  // printer dots at 300 per inch

// Where a kind of listing puts things, in twips.
struct Layout {
    std::vector<std::pair<QString, double>> Headings;
    std::vector<double> Values;
    double LineEnd;         // below 0: the printable width less its amount
    double PageFull;        // from the printable height (negative: less)
    double AfterLast;       // from the printable height
    QString PageAlignText;  // whose width right-aligns the page number
};

Layout LayoutOf(const Listing& listing) {
    if (listing.Type == Listing::Kind::Events) {
        return {{{QStringLiteral("Event / Holiday"), 440},
                 {QStringLiteral("Starts On"), 4300},
                 {QStringLiteral("Ends On"), 8200}},
                {440, 4300, 8200},
                11600,
                -900,
                901,
                QStringLiteral("        Page 1 of 1")};
    }
    Layout layout{{{QStringLiteral("Filename"), 440},
                   {QStringLiteral("Type"), 5700},
                   {QStringLiteral("Fav"), 6800},
                   {QStringLiteral("Starting"), 7400},
                   {QStringLiteral("Ending"), 8600},
                   {QStringLiteral("Days"), 9650},
                   {QStringLiteral("Override"), 10300}},
                  {440, 5700, 6900, 7400, 8600, 9650, 10300},
                  -440,
                  -1000,
                  -999,
                  QStringLiteral("         Page 1 of 1")};
    if (!listing.Portrait) {
        layout.Headings.emplace_back(QStringLiteral("Override Date(s)"), 11500);
        layout.Values.push_back(11500);
    }
    return layout;
}
}  // namespace

Listing FilesListing(const std::vector<ScheduleRow>& rows, bool portrait) {
    Listing listing;
    listing.Type = Listing::Kind::Files;
    listing.Title = QStringLiteral("Merivane Files/Themes Listing");
    listing.Portrait = portrait;
    const int columns = portrait ? 7 : 8;
    for (const ScheduleRow& row : rows) {
        QStringList texts;
        for (int column = 0; column < columns; ++column) {
            texts << ScheduleText(row, column);
        }
        listing.Rows.push_back(texts);
    }
    return listing;
}

Listing EventsListing(const std::vector<EventRowText>& rows, int year) {
    Listing listing;
    listing.Type = Listing::Kind::Events;
    listing.Title = QStringLiteral("Merivane Events Listing for %1").arg(year);
    listing.Portrait = true;
    for (const EventRowText& row : rows) {
        listing.Rows.push_back({row.Name, row.StartsOn, row.EndsOn});
    }
    return listing;
}

bool PrintListing(QPagedPaintDevice& device, const Listing& listing, SerialDate today) {
    const bool events = listing.Type == Listing::Kind::Events;
    if (events) {
        device.setPageOrientation(QPageLayout::Portrait);
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const double unit = device.logicalDpiY() / kTwipsPerInch;  // device units a twip
    const double width = device.width() / unit;                // the printable size in twips
    const double height = device.height() / unit;
    const Layout layout = LayoutOf(listing);
    const double lineEnd = layout.LineEnd < 0 ? width + layout.LineEnd : layout.LineEnd;

    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    auto useFont = [&](double size, bool bold) {
        font.setPointSizeF(size);
        font.setBold(bold);
        painter.setFont(font);
    };
    auto metrics = [&] { return QFontMetricsF(painter.font(), &device); };
    auto textHeight = [&] { return metrics().height() / unit; };
    auto textWidth = [&](const QString& text) { return metrics().horizontalAdvance(text) / unit; };
    // Text hangs from its print position, as a printer's current position places it.
    auto print = [&](double x, double y, const QString& text) {
        painter.drawText(QPointF(x * unit, y * unit + metrics().ascent()), text);
    };
    painter.setPen(QPen(Qt::black, kLineWidth * device.logicalDpiY() / 300.0));
    auto line = [&](double y) {
        painter.drawLine(QPointF(kLeft * unit, y * unit), QPointF(lineEnd * unit, y * unit));
    };

    const QString printedOn = QStringLiteral("Printed on ") + LongDateText(today);
    const int count = static_cast<int>(listing.Rows.size());
    double y = 0;
    int page = 0;
    int pageTotal = 0;
    for (int i = 1; i <= count; ++i) {
        if (y == 0) {
            y = kTop;
            useFont(kTitleSize, true);
            print(std::floor((width - textWidth(listing.Title)) / 2), y, listing.Title);
            y += textHeight();
            useFont(kTextSize, true);
            y += textHeight();  // an empty line
            for (const auto& [heading, x] : layout.Headings) {
                print(x, y, heading);
            }
            y += textHeight();
            useFont(kTextSize, false);
            line(y);
        }
        const QStringList& texts = listing.Rows[static_cast<size_t>(i - 1)];
        for (size_t column = 0; column < layout.Values.size() && column < static_cast<size_t>(texts.size());
             ++column) {
            print(layout.Values[column], y, texts[static_cast<qsizetype>(column)]);
        }
        y += textHeight();
        if (i == count) {
            y = height + layout.AfterLast;
        }
        if (y > height + layout.PageFull) {
            y = events ? height - textHeight() - 100 : height - 700;
            line(y);
            print(kLeft, y, printedOn);
            ++page;
            if (pageTotal == 0) {
                pageTotal = static_cast<int>(static_cast<double>(count) / i + 0.99);
            }
            print(width - textWidth(layout.PageAlignText), y,
                  QStringLiteral("Page %1 of %2").arg(page).arg(pageTotal));
            if (i != count) {
                device.newPage();
                y = 0;
            }
        }
    }
    painter.end();
    return true;
}

}  // namespace merivane
