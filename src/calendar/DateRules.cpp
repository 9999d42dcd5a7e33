#include "calendar/DateRules.h"

#include "calendar/ChurchLunar.h"

#include <QDate>

#include <cstdlib>

namespace merivane {

namespace {

std::optional<int> YearNumber(const QString& year) {
    bool ok = false;
    int y = year.trimmed().toInt(&ok);
    if (!ok || y < 100 || y > 9999) {
        return std::nullopt;
    }
    return y;
}

int MonthOf(SerialDate day) {
    return DateOfSerial(day).month();
}

// The first day of the month after `month`: 1 January of the next year after December.
std::optional<SerialDate> FirstOfNextMonth(int month, const QString& year) {
    if (month != 12) {
        return DateFromParts(month + 1, 1, year);
    }
    auto y = YearNumber(year);
    return y ? DateFromParts(1, 1, QString::number(*y + 1)) : std::nullopt;
}

std::optional<SerialDate> WeekdayOfMonth(int weekday, int month, int week, const QString& year) {
    if (week > 5) {
        // The last such weekday: back from the first day of the following month.
        auto next = FirstOfNextMonth(month, year);
        if (!next) {
            return std::nullopt;
        }
        SerialDate d = *next - 1;
        while (WeekdayOf(d) != weekday) {
            d -= 1;
        }
        return d;
    }
    auto first = DateFromParts(month, 1, year);
    if (!first) {
        return std::nullopt;
    }
    SerialDate d = *first + 7.0 * (week - 1) - 1;
    for (int i = 0; i < 7; ++i) {
        d += 1;
        if (WeekdayOf(d) == weekday) {
            break;
        }
    }
    return d;
}

std::optional<EventWindow> MondayHoliday(int month, int day, const QString& year) {
    auto date = DateFromParts(month, day, year);
    if (!date) {
        return std::nullopt;
    }
    SerialDate s = *date - 4;
    for (int i = 0; i < 14; ++i) {
        if (WeekdayOf(s) == 1 && MonthOf(s) == MonthOf(*date)) {
            break;
        }
        s += 1;
    }
    return EventWindow{std::max(*date, s), static_cast<std::int16_t>(std::abs(*date - s) + 1)};
}

std::optional<EventWindow> WeekendExactDay(int month, int day, const QString& year, std::int16_t shown) {
    auto date = DateFromParts(month, day, year);
    if (!date) {
        return std::nullopt;
    }
    int weekday = WeekdayOf(*date);
    SerialDate end = weekday == 0 ? *date + 1 : *date;
    std::int16_t n = (weekday == 0 || weekday == 6) ? 2 : 1;
    return EventWindow{end, std::max(n, shown)};
}

std::optional<EventWindow> EntireMonth(int month, const QString& year) {
    auto first = DateFromParts(month, 1, year);
    auto next = FirstOfNextMonth(month, year);
    if (!first || !next) {
        return std::nullopt;
    }
    return EventWindow{*next - 1, static_cast<std::int16_t>(*next - *first)};
}

struct SeasonRow {
    unsigned PointMonth, PointDay;    // equinox or solstice: the window's last day
    unsigned SeasonMonth, SeasonDay;  // the season's last day
    std::int16_t SeasonDays;
};
constexpr SeasonRow kSeasons[4] = {
    {3, 21, 6, 19, 90},   // spring
    {6, 21, 9, 21, 92},   // summer
    {9, 23, 12, 20, 88},  // autumn
    {12, 22, 3, 19, 87},  // winter, from late December of the year before
};

std::optional<EventWindow> Season(const EventRecord& event, const QString& year, bool southern) {
    int k = (event.Month + (southern ? 2 : 0)) % 4;  // keeps the sign of the month
    QString name = event.Name.toLower();
    bool point = name.contains(QLatin1String("equinox")) || name.contains(QLatin1String("solstice"));
    if (k < 0) {
        return EventWindow{0, static_cast<std::int16_t>(point ? 2 : 0)};
    }
    const SeasonRow& row = kSeasons[k];
    auto end = point
                   ? DateFromParts(static_cast<int>(row.PointMonth), static_cast<int>(row.PointDay), year)
                   : DateFromParts(static_cast<int>(row.SeasonMonth), static_cast<int>(row.SeasonDay), year);
    if (!end) {
        return std::nullopt;
    }
    return EventWindow{*end, point ? std::int16_t{2} : row.SeasonDays};
}

std::optional<EventWindow> WithShown(std::optional<SerialDate> end, std::int16_t shown) {
    if (!end) {
        return std::nullopt;
    }
    return EventWindow{*end, shown};
}

}  // namespace

int WeekdayOf(SerialDate day) {
    return static_cast<int>(std::chrono::weekday{DaysFromSerial(day)}.c_encoding());
}

std::optional<SerialDate> DateFromParts(int month, int day, const QString& year) {
    auto y = YearNumber(year);
    if (!y || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    return SerialFromYmd(*y, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

std::optional<EventWindow> EventDateForYear(const EventRecord& event, const QString& year,
                                            const RuleContext& context) {
    const char16_t rule = event.RuleType.unicode();
    const std::int16_t shown = event.DaysShown;
    if (rule >= u'0' && rule <= u'6') {
        return WithShown(WeekdayOfMonth(rule - u'0', event.Month, event.DayOrWeek, year), shown);
    }
    switch (rule) {
        case u'a':
            return AdventWindow(year);
        case u'b':
            return WithShown(BoxingDay(year), shown);
        case u'c':
            return EventWindow{ChineseNewYear(year, context.CurrentYear), shown};
        case u'e':
            return EventWindow{EasterSunday(year, context.CurrentYear) + event.DayOrWeek, shown};
        case u'h':
            return EntireMonth(event.Month, year);
        case u'i': {
            auto eve = RamadanStart(year);
            return WithShown(eve ? std::optional<SerialDate>(*eve + event.DayOrWeek) : std::nullopt, shown);
        }
        case u'j': {
            bool ok = false;
            int y = year.trimmed().toInt(&ok);
            if (!ok || y < -32768 || y > 32767) {
                return std::nullopt;
            }
            return WithShown(JewishDate(event.Month, event.DayOrWeek, static_cast<std::int16_t>(y)), shown);
        }
        case u'm':
            return MondayHoliday(event.Month, event.DayOrWeek, year);
        case u's':
            return Season(event, year, context.SouthernHemisphere);
        case u'w':
            return WeekendExactDay(event.Month, event.DayOrWeek, year, shown);
        case u'x':
            return WithShown(DateFromParts(event.Month, event.DayOrWeek, year), shown);
        default:
            return EventWindow{*SerialFromYmd(context.CurrentYear + 1, 12, 31), kAnyDay};
    }
}

}  // namespace merivane
