#include "calendar/ChurchLunar.h"

#include <array>

namespace merivane {

namespace {

constexpr std::int64_t kJulianDayOfEpoch = 2415019;  // 30 December 1899

// Days from 1 Tishri to the first day of month m (index m - 1), for the six year lengths.
constexpr std::array<std::array<int, 12>, 6> kJewishMonthTable = {{
    {0, 30, 59, 88, 117, 147, 176, 206, 235, 265, 294, 324},  // 353 days
    {0, 30, 59, 89, 118, 148, 177, 207, 236, 266, 295, 325},  // 354
    {0, 30, 60, 90, 119, 149, 178, 208, 237, 267, 296, 326},  // 355
    {0, 30, 59, 88, 117, 147, 206, 236, 265, 295, 324, 354},  // 383
    {0, 30, 59, 89, 118, 148, 207, 237, 266, 296, 325, 355},  // 384
    {0, 30, 60, 90, 119, 149, 208, 238, 267, 297, 326, 356},  // 385
}};

// The epact of the church calendar for year y in 1980..2150 (values stay positive).
int Epact(int y) {
    int g = y % 19 + 1;
    int s = (y - 1600) / 100 - (y - 1600) / 400;
    int l = (((y - 1400) / 100) * 8) / 25;
    int e = (3 - 11 * g + s - l + 300) % 30;
    if (e == 29 || (e == 28 && g > 11)) {
        --e;
    }
    return e;
}

int JewishLeap(std::int64_t year) {
    return ((7 * year + 13) % 19) / 12 == 1 ? 1 : 0;
}

}  // namespace

static SerialDate JewishNewYearOf(std::int64_t year);

int ChurchYear(const QString& year, int currentYear) {
    bool ok = false;
    int y = year.trimmed().toInt(&ok);
    return ok && y >= 1980 && y <= 2150 ? y : currentYear;
}

SerialDate EasterSunday(const QString& year, int currentYear) {
    int y = ChurchYear(year, currentYear);
    int e = Epact(y);
    int w = (y + y / 4 - y / 100 + y / 400) % 7;
    int n = ((4 - w - e + 35) % 7) + 1 + e;  // 1..35 + e stays within March 22 .. April 25
    return n >= 11 ? *SerialFromYmd(y, 4, static_cast<unsigned>(n - 10))
                   : *SerialFromYmd(y, 3, static_cast<unsigned>(n + 21));
}

SerialDate ChineseNewYear(const QString& year, int currentYear) {
    int y = ChurchYear(year, currentYear);
    return *SerialFromYmd(y, 3, 21) + Epact(y) - 73;
}

std::optional<EventWindow> AdventWindow(const QString& year) {
    auto third = DateFromParts(12, 3, year);
    auto eve = DateFromParts(12, 24, year);
    if (!third || !eve) {
        return std::nullopt;
    }
    SerialDate sunday = *third;
    while (WeekdayOf(sunday) != 0) {
        sunday -= 1;
    }
    return EventWindow{*eve, static_cast<std::int16_t>(*eve - sunday + 1)};
}

std::optional<SerialDate> BoxingDay(const QString& year) {
    auto christmas = DateFromParts(12, 25, year);
    if (!christmas) {
        return std::nullopt;
    }
    return *christmas + (WeekdayOf(*christmas) == 6 ? 2 : 1);
}

std::optional<SerialDate> RamadanStart(const QString& year) {
    auto lastDay = DateFromParts(12, 31, year);
    if (!lastDay) {
        return std::nullopt;
    }
    std::int64_t j = static_cast<std::int64_t>(*lastDay) + kJulianDayOfEpoch;
    std::int64_t q = 30 * (j + 7665) + 15;
    std::int64_t islamicYear = q / 10631;
    std::int64_t dayOfYear = (q % 10631) / 30;  // 0..354
    std::int64_t k = (100 * dayOfYear + 10) / 2951;
    std::int64_t month = k % 12 + 1;
    std::int64_t i = islamicYear - 5519;
    if (month < 9) {
        --i;
    }
    std::int64_t julian = (10631 * (i + 5519) + 14) / 30 + 236 - 7665;
    return static_cast<SerialDate>(julian - kJulianDayOfEpoch);
}

SerialDate JewishNewYear(std::int16_t year) {
    return JewishNewYearOf(year);
}

static SerialDate JewishNewYearOf(std::int64_t year) {
    std::int64_t h = year + 3761;
    std::int64_t months = (235 * h - 234) / 19;
    std::int64_t parts = 793 * months + 204;
    std::int64_t hours = 12 * months + 5 + parts / 1080;
    std::int64_t day = 29 * months + 1 + hours / 24;
    std::int64_t p = 1080 * (hours % 24) + parts % 1080;  // 0..25919 parts into the day
    if (p >= 19440 || (p >= 9924 && day % 7 == 2 && JewishLeap(h) == 0) ||
        (p >= 16789 && day % 7 == 1 && JewishLeap(h) == 0 && JewishLeap(h - 1) == 1)) {
        ++day;
    }
    day += ((day + 5) % 7) % 2;
    return static_cast<SerialDate>(day - 2067022);
}

std::optional<SerialDate> JewishDate(int month, int day, std::int16_t year) {
    if (month < 0 || month >= 13) {
        return std::nullopt;
    }
    if (month == 1) {
        return JewishNewYear(year) + day - 2;
    }
    std::int64_t h = static_cast<std::int64_t>(year) + (month <= 5 ? 3761 : 3760);
    SerialDate a = JewishNewYearOf(h - 3761);
    SerialDate b = JewishNewYearOf(h - 3760);
    int type = static_cast<int>(b - a) - 352 - 27 * JewishLeap(h);
    if (type < 1 || type > 6) {
        return std::nullopt;
    }
    int offset = month == 0 ? 0 : kJewishMonthTable[type - 1][month - 1];
    return a + offset + day - 2;
}

}  // namespace merivane
