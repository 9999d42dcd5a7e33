#include "calendar/Matching.h"

#include "calendar/DateRules.h"
#include "platform/TextFile.h"
#include "settings/DateText.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

#include <map>

namespace merivane {
namespace {

QString Iso(SerialDate day) {
    return DateOfSerial(day).toString(Qt::ISODate);
}

SerialDate At(int y, unsigned m, unsigned d) {
    return *SerialFromYmd(y, m, d) + 0.5;  // midday
}

class MatchingTest : public ::testing::Test {
  protected:
    MatchingTest() {
        Use("Christmas\tx\t12\t25\t14\txmas;santa\r\n"
            "Christmas Eve\tx\t12\t24\t1\t\r\n"
            "New Year's Day\tx\t1\t1\t3\tnew year\r\n"
            "Kwanzaa\tx\t1\t1\t7\t\r\n"
            "Easter\te\t0\t0\t2\tbunny\r\n"
            "Tu BiShvat\tj\t5\t16\t2\t\r\n"
            "Leap Day\tx\t2\t29\t1\t\r\n"
            "Anything\tz\r\n"
            "Winter\ts\t3\t0\t0\t snow \r\n");
        sys.clock.now = At(2026, 12, 9);
        state.Setup.UseYearInTitle = true;
    }
    void Use(const QString& table) {
        state.Events = ParseEventTable(table);
        state.KeywordList = BuildKeywordIndex(state.Events);
        state.Matcher = KeywordMatcher(state.KeywordList);
    }
    QString Window(const EventWindow& w) { return Iso(w.EndDate - w.DaysShown + 1) + ".." + Iso(w.EndDate); }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(MatchingTest, MatchingKeysAndYearsInNames) {
    EXPECT_EQ(MatchingKey("  New Year's Day! "), " new year s day  ");
    struct Case {
        const char* Text;
        std::optional<int> Year;
    };
    const Case cases[] = {
        {"2024 Christmas", 2024},
        {"Christmas 2024", 2024},
        {"Christmas 2024 Snow", std::nullopt},
        {"Christmas 2011", 2011},
        {"Christmas 2010", std::nullopt},  // 15 years back at most
        {"Christmas 2051", 2051},
        {"Christmas 2052", std::nullopt},  // 25 years on at most
        {"2024", 2024},
        {"x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(YearInKey(MatchingKey(c.Text), 2026), c.Year);
    }
    EXPECT_EQ(YearFromText(MatchingKey("Snow"), 2026), "2026");
}

TEST_F(MatchingTest, TheFirstKeyInPriorityOrderDecides) {
    struct Case {
        const char* Text;
        const char* Event;  // "" for none
        const char* Window;
    };
    const Case cases[] = {
        {"Christmas Eve by the fire", "Christmas Eve", "2026-12-24..2026-12-24"},  // the longer key wins
        {"Christmas Morning", "Christmas", "2026-12-12..2026-12-25"},
        {"Xmas-Tree", "Christmas", "2026-12-12..2026-12-25"},
        {"myxmastree", "Christmas", "2026-12-12..2026-12-25"},  // keywords match any part
        {"Christmastime", "", ""},                              // names match whole words only
        {"Snowy Hills", "", ""},                                // " snow " wants the whole word
        {"Deep Snow", "Winter", "2026-12-23..2027-03-19"},      // last winter is over: the coming one
        {"Christmas 2024", "Christmas", "2024-12-12..2024-12-25"},
        {"Easter 2027 Bunny", "Easter", "2026-04-04..2026-04-05"},  // a year inside the name is not seen
        {"Leap Day", "Leap Day", ""},
        {"Leap Day 2028", "Leap Day", "2028-02-29..2028-02-29"},
        {"Anything Goes", "Anything", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TextMatch match = MatchText(state, c.Text, true);
        EXPECT_EQ(match.EventIndex >= 0 ? state.Events[match.EventIndex].Name : QString(), c.Event);
        if (*c.Window) {
            EXPECT_EQ(Window(match.Window), c.Window);
        }
    }
    EXPECT_EQ(FindEventForText(state, "Leap Day", true).DaysShown, 0);  // no 29 February in 2026: never
    EXPECT_EQ(FindEventForText(state, "Anything Goes", true).DaysShown, kAnyDay);
    // Without the year rule a year in the name changes nothing.
    EXPECT_EQ(Window(FindEventForText(state, "Christmas 2024", false)), "2026-12-12..2026-12-25");
}

TEST_F(MatchingTest, NamesWithoutAnEvent) {
    struct Case {
        const char* Text;
        const char* End;
        int Days;
    };
    const Case cases[] = {
        {"Mountain Lake", "2027-12-31", 999},
        {"*** Any Day ***", "2027-12-31", 999},
        {"*** Do Not Use ***", "2056-12-31", 0},
        {"Beach (do not use)", "2056-12-31", 0},
        {"2028", "2028-12-31", 366},  // a year alone: all that year
        {"2027", "2027-12-31", 365},
        {"1999", "2026-12-31", 365},  // out of bounds: the current year
        {"", "2027-12-31", 999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EventWindow w = FindEventForText(state, c.Text, true);
        EXPECT_EQ(Iso(w.EndDate), c.End);
        EXPECT_EQ(w.DaysShown, c.Days);
    }
}

TEST_F(MatchingTest, AWindowAcrossNewYearComesRoundAgain) {
    struct Case {
        SerialDate Today;
        const char* Text;
        const char* Window;
    };
    const Case cases[] = {
        {At(2026, 1, 1), "Kwanzaa", "2025-12-26..2026-01-01"},  // still on
        {At(2026, 1, 2), "Kwanzaa", "2026-12-26..2027-01-01"},  // passed: next year's
        {At(2026, 1, 3), "New Year", "2026-12-30..2027-01-01"},
        {At(2026, 1, 1), "New Year", "2025-12-30..2026-01-01"},
        {At(2026, 6, 1), "Christmas", "2026-12-12..2026-12-25"},  // not across New Year: stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Text << " on " << Iso(c.Today).toStdString());
        sys.clock.now = c.Today;
        EXPECT_EQ(Window(FindEventForText(state, c.Text, true)), c.Window);
    }
}

TEST_F(MatchingTest, TuBiShvatIsInSeasonEveryYear) {
    // The Jewish winter months belong to the year that begins in the autumn, so the window
    // for this year may lie next year: this year's own comes from the year before.
    struct Case {
        SerialDate Today;
        const char* Text;
        const char* Window;
    };
    const Case cases[] = {
        {At(2025, 1, 20), "Tu BiShvat", "2025-02-12..2025-02-13"},
        {At(2025, 2, 13), "Tu BiShvat", "2025-02-12..2025-02-13"},
        {At(2025, 2, 14), "Tu BiShvat", "2026-02-01..2026-02-02"},  // passed: the coming one
        {At(2026, 1, 5), "Tu BiShvat", "2026-02-01..2026-02-02"},
        {At(2026, 12, 9), "Tu BiShvat", "2027-01-22..2027-01-23"},
        {At(2027, 1, 23), "Tu BiShvat", "2027-01-22..2027-01-23"},
        {At(2027, 6, 1), "Tu BiShvat", "2028-02-11..2028-02-12"},
        {At(2026, 12, 9), "Tu BiShvat 2026", "2026-02-01..2026-02-02"},  // the year in the name wins
        {At(2026, 12, 9), "Tu BiShvat 2027", "2027-01-22..2027-01-23"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Text << " on " << Iso(c.Today).toStdString());
        sys.clock.now = c.Today;
        EXPECT_EQ(Window(FindEventForText(state, c.Text, true)), c.Window);
    }
    // Every day of a decade, the window shown is this year's or the coming one, never a past one.
    for (SerialDate day = At(2025, 1, 1); day < At(2035, 1, 1); day += 1) {
        sys.clock.now = day;
        EventWindow w = FindEventForText(state, "Tu BiShvat", true);
        ASSERT_GE(w.EndDate, std::floor(day)) << Iso(day).toStdString();
        ASSERT_LT(w.EndDate - std::floor(day), 400) << Iso(day).toStdString();
    }
}

TEST_F(MatchingTest, EndingDateListsTakeTheItemThatComesNext) {
    struct Case {
        SerialDate Today;
        const char* List;
        const char* End;
        int Days;
    };
    const Case cases[] = {
        {At(2026, 3, 1), "easter;christmas", "2026-04-05", 2},
        {At(2026, 6, 1), "easter;christmas", "2026-12-25", 14},
        {At(2026, 6, 1), "12/25", "2026-12-25", 1},
        {At(2026, 6, 1), "7/4;12/25;3/1", "2026-07-04", 1},
        {At(2026, 6, 1), "3/1;2/1", "2026-03-01", 1},  // none ahead: the first item
        {At(2026, 6, 1), "*** Any Day ***", "2027-12-31", 999},
        {At(2026, 6, 1), "*** Do Not Use ***;12/25", "2026-12-25", 1},
        {At(2026, 6, 1), "*** Any Day ***;1/1/2027", "2027-01-01", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.List);
        sys.clock.now = c.Today;
        EventWindow w = ParseEndingDateList(state, c.List, true);
        EXPECT_EQ(Iso(w.EndDate), c.End);
        EXPECT_EQ(w.DaysShown, c.Days);
    }
    // At most 15 items are read.
    sys.clock.now = At(2026, 6, 1);
    QStringList many(15, "1/1/2020");
    many << "12/25";
    EXPECT_EQ(Iso(ParseEndingDateList(state, many.join(u';'), true).EndDate), "2020-01-01");
}

TEST_F(MatchingTest, FileWindowsComeFromTheOverrideOrTheName) {
    struct Case {
        const char* File;
        const char* Override;
        std::int16_t OverrideDays;
        const char* Start;
        const char* End;
        int Days;
    };
    const Case cases[] = {
        {"/p/Christmas Snow.jpg", "", 0, "2026-12-12", "2026-12-25", 14},
        {R"(C:\Themes\Xmas.Tree.theme)", "", 0, "2026-12-12", "2026-12-25", 14},
        {"/p/Lake.jpg", "", 0, "", "2027-12-31", 999},
        {"/p/Lake.jpg", "12/25", 7, "2026-12-19", "2026-12-25", 7},
        {"/p/Lake.jpg", "12/25", 0, "2026-12-25", "2026-12-25", 1},  // a date shows for one day at least
        {"/p/Lake.jpg", "easter;christmas", 3, "2026-12-23", "2026-12-25", 3},
        {"/p/Lake.jpg", "*** Any Day ***", 999, "", "2027-12-31", 999},
        {"/p/Christmas.jpg", "*** Do Not Use ***", 0, "", "2056-12-31", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.File << " / " << c.Override);
        FileEntry entry;
        entry.FileName = c.File;
        entry.OverrideText = c.Override;
        entry.DaysShown = c.OverrideDays;
        ComputeFileWindow(state, entry);
        if (*c.Start) {
            EXPECT_EQ(Iso(entry.StartDate), c.Start);
        }
        EXPECT_EQ(Iso(entry.EndDate), c.End);
        EXPECT_EQ(entry.DaysShown, c.Days);
        EXPECT_EQ(SortKeyOf(entry),
                  DateOfSerial(entry.EndDate).toString("yyyyMMdd") + " " + QString(c.File).toLower());
    }
}

TEST(UserDates, TheFormsAUserWrites) {
    struct Case {
        const char* Text;
        const char* Expected;  // "" for not a date
    };
    const Case cases[] = {
        {"12/25", "2026-12-25"},
        {"12/25/2027", "2027-12-25"},
        {"25/12", "2026-12-25"},
        {"2027-01-31", "2027-01-31"},
        {"dec 31", "2026-12-31"},
        {"31 Dec", "2026-12-31"},
        {"December 31", "2026-12-31"},
        {"December 31, 2025", "2025-12-31"},
        {"31 December 2025", "2025-12-31"},
        {"Sept. 3", "2026-09-03"},
        {"2/29", ""},
        {"2/29/2028", "2028-02-29"},
        {"13/13", ""},
        {"christmas", ""},
        {"*** Any Day ***", ""},
        {"2027", ""},
        {"31", ""},
        {"", ""},
        {"Dec", ""},
        {"ma 3", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        auto date = ParseUserDate(c.Text, 2026);
        EXPECT_EQ(date ? DateOfSerial(*date).toString(Qt::ISODate) : QString(), c.Expected);
    }
    EXPECT_FALSE(ParseUserDate(QString(10000, u'1'), 2026).has_value());
    EXPECT_FALSE(ParseUserDate(QString(5000, u'/') + "12/25", 2026).has_value());
}

TEST(EventRows, TheScheduleColumnsOfTheEventsTab) {
    EventRecord christmas{"Christmas", u'x', 12, 25, 14, "xmas"};
    EventWindow window{*SerialFromYmd(2026, 12, 25), 14};
    EventRowText row = FillEventRow(christmas, window);
    EXPECT_EQ(row.Name, "Christmas");
    EXPECT_EQ(row.StartsOn, QLocale().toString(QDate(2026, 12, 12), QLocale::LongFormat));
    EXPECT_EQ(row.Days, "  14");
    EXPECT_EQ(row.StartHidden, "0046368");
    EXPECT_EQ(row.EndHidden, "0046381");
    EXPECT_EQ(row.Type + row.Month + row.Day + row.Shown + row.Keywords, "x122514xmas");

    for (const auto& undefined : {std::optional<EventWindow>(), std::optional<EventWindow>(EventWindow{0, 0}),
                                  std::optional<EventWindow>(EventWindow{46000, 999})}) {
        EventRowText none = FillEventRow(christmas, undefined);
        EXPECT_EQ(none.StartsOn, "*** UNDEFINED HOLIDAY ***");
        EXPECT_EQ(none.EndsOn, "*** UNDEFINED HOLIDAY ***");
        EXPECT_EQ(none.Days + none.StartHidden + none.EndHidden, "   0   0   0");
    }
}

// Every day of 2025 to 2040, a file named after an event of the shipped table is in season
// exactly when the day lies in one of that event's windows: last year's (which may run on
// into this year: Hanukkah over New Year, Ramadan in January), this year's, or next year's
// (which may begin this year).
TEST(EventWindows, AFileIsInSeasonOnEveryDayOfItsEventsWindows) {
    test::TestPlatform sys;
    CalendarState state(sys.Get());
    auto text = ReadTextFile(QStringLiteral(MERIVANE_SOURCE_DATA_DIR) + "/Merivane.hol");
    ASSERT_TRUE(text);
    state.Events = ParseEventTable(*text);
    state.KeywordList = BuildKeywordIndex(state.Events);
    state.Matcher = KeywordMatcher(state.KeywordList);

    const int first = 2025;
    const int last = 2040;
    for (int e = 0; e < static_cast<int>(state.Events.size()); ++e) {
        const EventRecord& event = state.Events[e];
        SCOPED_TRACE(event.Name.toStdString());
        // The windows of every year that can touch the sweep, evaluated as the current year sees them.
        std::map<std::pair<int, int>, std::optional<EventWindow>> windows;
        auto window = [&](int year, int current) -> const std::optional<EventWindow>& {
            auto key = std::make_pair(year, current);
            auto it = windows.find(key);
            if (it == windows.end()) {
                it = windows
                         .emplace(key,
                                  EventDateForYear(event, QString::number(year), RuleContext{current, false}))
                         .first;
            }
            return it->second;
        };
        int mismatches = 0;
        for (SerialDate day = *SerialFromYmd(first, 1, 1); day <= *SerialFromYmd(last, 12, 31); day += 1) {
            const int year = DateOfSerial(day).year();
            bool expected = false;
            for (int y : {year - 1, year, year + 1}) {
                const auto& w = window(y, year);
                expected = expected || (w && w->DaysShown >= 1 && w->DaysShown < kAnyDay &&
                                        w->EndDate - w->DaysShown + 1 <= day && day <= w->EndDate);
            }
            sys.clock.now = day + 0.5;
            const TextMatch match = MatchText(state, event.Name, false);
            ASSERT_EQ(match.EventIndex, e) << "the name matched another event";
            const EventWindow& w = match.Window;
            const bool inSeason = w.DaysShown > 0 && w.EndDate - (w.DaysShown - 1) <= day && day <= w.EndDate;
            if (inSeason != expected && ++mismatches <= 3) {
                ADD_FAILURE() << Iso(day).toStdString() << ": in season " << inSeason << ", expected "
                              << expected << " (window " << Iso(w.EndDate - w.DaysShown + 1).toStdString()
                              << ".." << Iso(w.EndDate).toStdString() << ")";
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

}  // namespace
}  // namespace merivane
