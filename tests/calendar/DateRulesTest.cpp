#include "calendar/ChurchLunar.h"
#include "calendar/DateRules.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

namespace merivane {
namespace {

SerialDate Day(int y, unsigned m, unsigned d) {
    return *SerialFromYmd(y, m, d);
}

QString Iso(SerialDate day) {
    return DateOfSerial(day).toString(Qt::ISODate);
}

const RuleContext kNorth{2026, false};

struct RuleCase {
    const char* Name;
    EventRecord Event;
    const char* Year;
    std::optional<std::pair<const char*, int>> Expected;  // end date and days shown; nothing: fails
};

TEST(DateRules, CivilRules) {
    const RuleCase cases[] = {
        {"last Monday of May", {"Memorial", u'1', 5, 9, 3, ""}, "2024", {{"2024-05-27", 3}}},
        {"fourth Thursday of November", {"Thanks", u'4', 11, 4, 1, ""}, "2024", {{"2024-11-28", 1}}},
        {"last Friday of December", {"F", u'5', 12, 6, 1, ""}, "2024", {{"2024-12-27", 1}}},
        {"fifth Sunday of a four-Sunday February runs into March",
         {"S", u'0', 2, 5, 1, ""},
         "2026",
         {{"2026-03-01", 1}}},
        {"week 0: the weekday in the seven days before the first",
         {"S", u'0', 3, 0, 1, ""},
         "2026",
         {{"2026-02-22", 1}}},
        {"month 0 and last: the last such weekday of December before",
         {"S", u'3', 0, 6, 1, ""},
         "2026",
         {{"2025-12-31", 1}}},
        {"month 0 and a week 1 to 5 fails", {"S", u'3', 0, 2, 1, ""}, "2026", std::nullopt},
        {"month 13 fails", {"S", u'3', 13, 9, 1, ""}, "2026", std::nullopt},
        {"Monday holiday on a Friday", {"M", u'm', 5, 24, 1, ""}, "2024", {{"2024-05-24", 5}}},
        {"Monday holiday on a Saturday", {"M", u'm', 12, 25, 1, ""}, "2021", {{"2021-12-27", 3}}},
        {"Monday holiday: only a Monday of the same month",
         {"M", u'm', 2, 28, 1, ""},
         "2019",
         {{"2019-02-28", 4}}},
        {"Monday holiday on a Monday", {"M", u'm', 1, 1, 9, ""}, "2024", {{"2024-01-01", 1}}},
        {"Monday holiday early in a month goes to the Monday after",
         {"M", u'm', 3, 1, 1, ""},
         "2024",
         {{"2024-03-04", 4}}},
        {"Monday holiday on a weekend at a month's end: D + 10",
         {"M", u'm', 8, 31, 1, ""},
         "2024",
         {{"2024-09-10", 11}}},
        {"weekend exact day on a Saturday", {"W", u'w', 7, 4, 1, ""}, "2026", {{"2026-07-04", 2}}},
        {"weekend exact day on a Sunday", {"W", u'w', 7, 4, 1, ""}, "2027", {{"2027-07-05", 2}}},
        {"weekend exact day with a longer window", {"W", u'w', 7, 4, 7, ""}, "2027", {{"2027-07-05", 7}}},
        {"weekend exact day on a weekday", {"W", u'w', 7, 4, 1, ""}, "2025", {{"2025-07-04", 1}}},
        {"entire February of a leap year", {"H", u'h', 2, 0, 0, ""}, "2024", {{"2024-02-29", 29}}},
        {"entire December", {"H", u'h', 12, 0, 0, ""}, "2024", {{"2024-12-31", 31}}},
        {"entire month 0 fails", {"H", u'h', 0, 0, 0, ""}, "2024", std::nullopt},
        {"exact date", {"X", u'x', 12, 25, 14, ""}, "2026", {{"2026-12-25", 14}}},
        {"31 April fails", {"X", u'x', 4, 31, 1, ""}, "2026", std::nullopt},
        {"29 February of a common year fails", {"X", u'x', 2, 29, 1, ""}, "2026", std::nullopt},
        {"29 February of a leap year", {"X", u'x', 2, 29, 1, ""}, "2028", {{"2028-02-29", 1}}},
        {"a year text that is no year fails", {"X", u'x', 1, 1, 1, ""}, "next", std::nullopt},
        {"spring equinox", {"Spring Equinox", u's', 0, 0, 5, ""}, "2026", {{"2026-03-21", 2}}},
        {"winter season from late December", {"Winter", u's', 3, 0, 5, ""}, "2026", {{"2026-03-19", 87}}},
        {"summer season", {"Summer", u's', 1, 0, 5, ""}, "2026", {{"2026-09-21", 92}}},
        {"season index 5 wraps to summer", {"Summer", u's', 5, 0, 5, ""}, "2026", {{"2026-09-21", 92}}},
        {"a negative season index forms no date", {"Odd", u's', -1, 0, 5, ""}, "2026", {{"1899-12-30", 0}}},
        {"a negative solstice index forms no date",
         {"Odd solstice", u's', -3, 0, 5, ""},
         "2026",
         {{"1899-12-30", 2}}},
        {"unknown rule: any day", {"Z", u'z', 1, 1, 1, ""}, "2024", {{"2027-12-31", 999}}},
        {"blank rule: any day", {"Easter", u' ', 0, 0, 0, ""}, "2024", {{"2027-12-31", 999}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto window = EventDateForYear(c.Event, c.Year, kNorth);
        ASSERT_EQ(window.has_value(), c.Expected.has_value());
        if (window) {
            EXPECT_EQ(Iso(window->EndDate), c.Expected->first);
            EXPECT_EQ(window->DaysShown, c.Expected->second);
        }
    }
}

TEST(DateRules, TheSouthernSettingMovesSeasonsTwoOn) {
    const RuleContext south{2026, true};
    auto equinox = EventDateForYear({"Spring Equinox", u's', 0, 0, 1, ""}, "2026", south);
    EXPECT_EQ(Iso(equinox->EndDate), "2026-09-23");
    EXPECT_EQ(equinox->DaysShown, 2);
    auto spring = EventDateForYear({"Spring", u's', 0, 0, 1, ""}, "2026", south);
    EXPECT_EQ(Iso(spring->EndDate), "2026-12-20");
    EXPECT_EQ(spring->DaysShown, 88);
    auto solstice = EventDateForYear({"Summer SOLSTICE", u's', 1, 0, 1, ""}, "2026", south);
    EXPECT_EQ(Iso(solstice->EndDate), "2026-12-22");
}

TEST(DateRules, DateFromPartsNeverRollsOver) {
    EXPECT_EQ(DateFromParts(2, 28, "2026"), Day(2026, 2, 28));
    for (auto [month, day] :
         {std::pair{2, 29}, {2, 30}, {4, 31}, {0, 1}, {13, 1}, {1, 0}, {1, -1}, {1, 32}}) {
        SCOPED_TRACE(testing::Message() << month << "/" << day);
        EXPECT_FALSE(DateFromParts(month, day, "2026").has_value());
    }
    EXPECT_FALSE(DateFromParts(1, 1, "").has_value());
    EXPECT_FALSE(DateFromParts(1, 1, "20x6").has_value());
}

TEST(ChurchCalendar, EasterAndItsFamily) {
    const std::pair<const char*, const char*> easters[] = {
        {"2024", "2024-03-31"}, {"2025", "2025-04-20"}, {"2038", "2038-04-25"},
        {"2008", "2008-03-23"}, {"1980", "1980-04-06"},
    };
    for (const auto& [year, date] : easters) {
        SCOPED_TRACE(year);
        EXPECT_EQ(Iso(EasterSunday(year, 2026)), date);
    }
    // Outside 1980..2150, or no number: the current year's Easter.
    EXPECT_EQ(Iso(EasterSunday("2200", 2026)), "2026-04-05");
    EXPECT_EQ(Iso(EasterSunday("abc", 2026)), "2026-04-05");
    EXPECT_EQ(Iso(EasterSunday("1979", 2025)), "2025-04-20");
    auto goodFriday = EventDateForYear({"Good Friday", u'e', 0, -2, 1, ""}, "2025", kNorth);
    EXPECT_EQ(Iso(goodFriday->EndDate), "2025-04-18");
}

// Meeus' Gregorian computus, written independently of the epact method under test.
QDate MeeusEaster(int y) {
    int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
    int h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4;
    int l = (32 + 2 * e + 2 * i - h - k) % 7;
    int m = (a + 11 * h + 22 * l) / 451;
    int month = (h + l - 7 * m + 114) / 31;
    int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(y, month, day);
}

TEST(ChurchCalendar, EasterAgreesWithAnIndependentComputusEveryYear) {
    for (int y = 1980; y <= 2150; ++y) {
        ASSERT_EQ(DateOfSerial(EasterSunday(QString::number(y), 2026)), MeeusEaster(y)) << y;
    }
}

TEST(ChurchCalendar, AdventBoxingDayAndChineseNewYear) {
    const std::tuple<const char*, const char*, int> advents[] = {
        {"2024", "2024-12-24", 24},
        {"2023", "2023-12-24", 22},
        {"2017", "2017-12-24", 22},
        {"2022", "2022-12-24", 28},
    };
    for (const auto& [year, end, days] : advents) {
        SCOPED_TRACE(year);
        auto window = EventDateForYear({"Advent", u'a', 0, 0, 100, ""}, year, kNorth);
        EXPECT_EQ(Iso(window->EndDate), end);
        EXPECT_EQ(window->DaysShown, days);
    }
    EXPECT_EQ(Iso(*BoxingDay("2021")), "2021-12-27");
    EXPECT_EQ(Iso(*BoxingDay("2022")), "2022-12-26");
    EXPECT_FALSE(BoxingDay("twenty").has_value());
    EXPECT_FALSE(AdventWindow("").has_value());
    const std::pair<const char*, const char*> newYears[] = {
        {"2023", "2023-01-22"}, {"2024", "2024-01-12"}, {"2025", "2025-01-30"}, {"2026", "2026-01-19"}};
    for (const auto& [year, date] : newYears) {
        SCOPED_TRACE(year);
        EXPECT_EQ(Iso(ChineseNewYear(year, 2026)), date);
    }
    for (int y = 1980; y <= 2150; ++y) {
        QDate cny = DateOfSerial(ChineseNewYear(QString::number(y), 2026));
        ASSERT_TRUE(cny >= QDate(y, 1, 8) && cny <= QDate(y, 2, 5)) << y;
    }
}

TEST(IslamicCalendar, RamadanStartsOnTheTabularDates) {
    const std::pair<const char*, const char*> eves[] = {
        {"2023", "2023-03-22"}, {"2024", "2024-03-10"},
        {"2025", "2025-02-28"}, {"2030", "2030-12-25"},  // the December Ramadan, not the January one
        {"2062", "2062-12-31"},
    };
    for (const auto& [year, date] : eves) {
        SCOPED_TRACE(year);
        EXPECT_EQ(Iso(*RamadanStart(year)), date);
    }
    auto thirtieth = EventDateForYear({"R", u'i', 0, 30, 1, ""}, "2024", kNorth);
    EXPECT_EQ(Iso(thirtieth->EndDate), "2024-04-09");
    EXPECT_FALSE(RamadanStart("x").has_value());
}

TEST(IslamicCalendar, RamadansFollowEachOtherByALunarYear) {
    const std::set<int> oneYear{354, 355};
    const std::set<int> skipped{708, 709, 710};  // two Ramadans begin in the neighbouring year
    for (int y = 1980; y < 2150; ++y) {
        int gap = static_cast<int>(*RamadanStart(QString::number(y + 1)) - *RamadanStart(QString::number(y)));
        ASSERT_TRUE(oneYear.count(gap) || skipped.count(gap)) << y << ": " << gap;
        QDate eve = DateOfSerial(*RamadanStart(QString::number(y)));
        ASSERT_EQ(eve.year(), y);
    }
}

TEST(JewishCalendar, DatesOfTheEdgeCases) {
    struct Case {
        int Month, Day, Year;
        const char* Expected;
    };
    const Case cases[] = {
        {1, 10, 2024, "2024-10-11"},  // Yom Kippur 5785 begins
        {3, 25, 2024, "2024-12-25"},  // Hanukkah 5785 begins
        {7, 15, 2027, "2027-04-21"},  // Passover in a 385-day year
        {6, 14, 2024, "2024-02-22"},  // the first Adar of a leap year
        {7, 15, 2025, "2025-04-12"}, {1, 1, 2024, "2024-10-02"},
        {0, 5, 2024, "2024-10-06"},   // month 0 counts like Tishri
        {5, 15, 2025, "2026-02-01"},  // Tu BiShvat of the year that begins in the autumn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Month << "/" << c.Day << "/" << c.Year);
        auto date = JewishDate(c.Month, c.Day, static_cast<std::int16_t>(c.Year));
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(Iso(*date), c.Expected);
    }
    EXPECT_EQ(Iso(JewishNewYear(2025)), "2025-09-23");
    EXPECT_EQ(Iso(JewishNewYear(2029)), "2029-09-10");
    EXPECT_FALSE(JewishDate(13, 1, 2025).has_value());
    EXPECT_FALSE(JewishDate(-1, 1, 2025).has_value());
    EXPECT_FALSE(EventDateForYear({"J", u'j', 7, 15, 1, ""}, "year", kNorth).has_value());
    EXPECT_TRUE(JewishDate(7, 15, 32767).has_value());  // the last year a 16-bit number holds
}

TEST(JewishCalendar, NewYearsAndYearLengthsKeepTheCalendarsRules) {
    const std::set<int> newYearDays{1, 2, 4, 6};  // Monday, Tuesday, Thursday, Saturday
    const std::set<int> lengths{353, 354, 355, 383, 384, 385};
    for (int y = 1980; y <= 2150; ++y) {
        SerialDate newYear = JewishNewYear(static_cast<std::int16_t>(y));
        ASSERT_TRUE(newYearDays.count(WeekdayOf(newYear))) << y;
        int length = static_cast<int>(JewishNewYear(static_cast<std::int16_t>(y + 1)) - newYear);
        ASSERT_TRUE(lengths.count(length)) << y << ": " << length;
        // Every month of the year can be placed.
        for (int m = 1; m <= 12; ++m) {
            ASSERT_TRUE(JewishDate(m, 1, static_cast<std::int16_t>(y)).has_value()) << y << "/" << m;
        }
    }
}

}  // namespace
}  // namespace merivane
