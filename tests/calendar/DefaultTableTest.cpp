#include "calendar/DateRules.h"
#include "calendar/EventTable.h"

#include "platform/TextFile.h"
#include "support/QtPrinters.h"

#include <QSet>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// The shipped table, event by event: the last day of its window in 2025, 2026 and 2027 and
// the window's length. Nothing ("") where the event does not happen that year.
//
// Sources, looked up by hand:
// - US federal holidays: the Office of Personnel Management's holiday schedules; UK bank
//   holidays: GOV.UK; Canada: Canada.ca public holidays; Australia: australia.gov.au and
//   the Victoria Racing Club for the Melbourne Cup; all cross-checked with Debian's
//   python3-holidays 0.10.
// - The Christian year: the Church of England's calendar (Easter 2025-04-20, 2026-04-05,
//   2027-03-28; Advent Sunday 2025-11-30, 2026-11-29, 2027-11-28).
// - Jewish festivals: hebcal.com, and Debian's hebcal 4.31 ("hebcal -x YEAR").
// - Ramadan and the Eids: timeanddate.com and the Umm al-Qura calendar, with the tabular
//   dates from Debian's python3-convertdate 2.4. Observed dates depend on the moon.
// - Chinese New Year: Hong Kong Observatory (2025-01-29, 2026-02-17, 2027-02-06), checked
//   with Debian's python3-lunardate.
// - Equinoxes and solstices: timeanddate.com (UTC).
struct Expected {
    const char* Name;
    const char* End[3];
    int Days[3];
    const char* Note;
};

const Expected kExpected[] = {
    {"New Year's Eve", {"2025-12-31", "2026-12-31", "2027-12-31"}, {1, 1, 1}, ""},
    {"New Year's Day", {"2025-01-01", "2026-01-01", "2027-01-01"}, {2, 2, 2}, "from New Year's Eve"},
    {"Epiphany", {"2025-01-06", "2026-01-06", "2027-01-06"}, {2, 2, 2}, "from Twelfth Night"},
    {"Shrove Tuesday", {"2025-03-04", "2026-02-17", "2027-02-09"}, {1, 1, 1}, ""},
    {"Ash Wednesday", {"2025-03-05", "2026-02-18", "2027-02-10"}, {1, 1, 1}, ""},
    {"Lent", {"2025-04-19", "2026-04-04", "2027-03-27"}, {46, 46, 46}, "Ash Wednesday to Holy Saturday"},
    {"Mothering Sunday", {"2025-03-30", "2026-03-15", "2027-03-07"}, {3, 3, 3}, ""},
    {"Palm Sunday", {"2025-04-13", "2026-03-29", "2027-03-21"}, {1, 1, 1}, ""},
    {"Good Friday", {"2025-04-18", "2026-04-03", "2027-03-26"}, {1, 1, 1}, ""},
    {"Easter", {"2025-04-21", "2026-04-06", "2027-03-29"}, {9, 9, 9}, "Palm Sunday to Easter Monday"},
    {"Easter Monday", {"2025-04-21", "2026-04-06", "2027-03-29"}, {1, 1, 1}, ""},
    {"Ascension Day", {"2025-05-29", "2026-05-14", "2027-05-06"}, {1, 1, 1}, ""},
    {"Pentecost", {"2025-06-08", "2026-05-24", "2027-05-16"}, {2, 2, 2}, ""},
    {"Advent", {"2025-12-24", "2026-12-24", "2027-12-24"}, {25, 26, 27}, "from Advent Sunday"},
    {"Christmas Eve", {"2025-12-24", "2026-12-24", "2027-12-24"}, {1, 1, 1}, ""},
    {"Christmas", {"2025-12-25", "2026-12-25", "2027-12-25"}, {14, 14, 14}, ""},
    {"Boxing Day",
     {"2025-12-26", "2026-12-26", "2027-12-27"},
     {1, 1, 1},
     "2027: Christmas is a Saturday (bank holidays in lieu: UK 28 Dec 2026 and 2027)"},
    {"Martin Luther King Jr. Day", {"2025-01-20", "2026-01-19", "2027-01-18"}, {1, 1, 1}, ""},
    {"Groundhog Day", {"2025-02-02", "2026-02-02", "2027-02-02"}, {1, 1, 1}, ""},
    {"Valentine's Day", {"2025-02-14", "2026-02-14", "2027-02-14"}, {7, 7, 7}, ""},
    {"Presidents' Day", {"2025-02-17", "2026-02-16", "2027-02-15"}, {1, 1, 1}, ""},
    {"St. Patrick's Day", {"2025-03-17", "2026-03-17", "2027-03-17"}, {3, 3, 3}, ""},
    {"April Fools' Day", {"2025-04-01", "2026-04-01", "2027-04-01"}, {1, 1, 1}, ""},
    {"Earth Day", {"2025-04-22", "2026-04-22", "2027-04-22"}, {1, 1, 1}, ""},
    {"Cinco de Mayo", {"2025-05-05", "2026-05-05", "2027-05-05"}, {1, 1, 1}, ""},
    {"Mother's Day", {"2025-05-11", "2026-05-10", "2027-05-09"}, {3, 3, 3}, "US, Canada, Australia"},
    {"Memorial Day", {"2025-05-26", "2026-05-25", "2027-05-31"}, {3, 3, 3}, ""},
    {"Flag Day", {"2025-06-14", "2026-06-14", "2027-06-14"}, {1, 1, 1}, ""},
    {"Father's Day", {"2025-06-15", "2026-06-21", "2027-06-20"}, {3, 3, 3}, "US, UK, Canada"},
    {"Juneteenth", {"2025-06-19", "2026-06-19", "2027-06-19"}, {1, 1, 2}, "2027: observed Friday 18 June"},
    {"Independence Day",
     {"2025-07-04", "2026-07-04", "2027-07-05"},
     {3, 3, 3},
     "observed Friday 3 July 2026 and Monday 5 July 2027"},
    {"Labor Day", {"2025-09-01", "2026-09-07", "2027-09-06"}, {1, 1, 1}, "and Canada's Labour Day"},
    {"Columbus Day", {"2025-10-13", "2026-10-12", "2027-10-11"}, {1, 1, 1}, ""},
    {"Halloween", {"2025-10-31", "2026-10-31", "2027-10-31"}, {14, 14, 14}, ""},
    {"Veterans Day", {"2025-11-11", "2026-11-11", "2027-11-11"}, {1, 1, 1}, ""},
    {"Thanksgiving", {"2025-11-27", "2026-11-26", "2027-11-25"}, {7, 7, 7}, ""},
    {"Kwanzaa", {"2025-01-01", "2026-01-01", "2027-01-01"}, {7, 7, 7}, "26 December to 1 January"},
    {"Burns Night", {"2025-01-25", "2026-01-25", "2027-01-25"}, {1, 1, 1}, ""},
    {"St. David's Day", {"2025-03-01", "2026-03-01", "2027-03-01"}, {1, 1, 1}, ""},
    {"St. George's Day", {"2025-04-23", "2026-04-23", "2027-04-23"}, {1, 1, 1}, ""},
    {"May Day", {"2025-05-05", "2026-05-04", "2027-05-03"}, {1, 1, 1}, "the early May bank holiday"},
    {"Guy Fawkes Night", {"2025-11-05", "2026-11-05", "2027-11-05"}, {2, 2, 2}, ""},
    {"Remembrance Sunday", {"2025-11-09", "2026-11-08", "2027-11-14"}, {1, 1, 1}, ""},
    {"Remembrance Day", {"2025-11-11", "2026-11-11", "2027-11-11"}, {2, 2, 2}, ""},
    {"St. Andrew's Day", {"2025-11-30", "2026-11-30", "2027-11-30"}, {1, 1, 1}, ""},
    {"Victoria Day",
     {"2025-05-22", "2026-05-22", "2027-05-24"},
     {4, 5, 3},
     "Victoria Day 19 May 2025, 18 May 2026, 24 May 2027, each inside the window"},
    {"Canada Day", {"2025-07-01", "2026-07-01", "2027-07-01"}, {1, 1, 1}, ""},
    {"Canadian Thanksgiving", {"2025-10-13", "2026-10-12", "2027-10-11"}, {3, 3, 3}, ""},
    {"Truth and Reconciliation Day", {"2025-09-30", "2026-09-30", "2027-09-30"}, {1, 1, 1}, ""},
    {"Australia Day",
     {"2025-01-26", "2026-01-26", "2027-01-26"},
     {1, 1, 1},
     "2025: holiday in lieu 27 January"},
    {"Anzac Day", {"2025-04-25", "2026-04-25", "2027-04-25"}, {1, 1, 1}, ""},
    {"Melbourne Cup", {"2025-11-04", "2026-11-03", "2027-11-02"}, {1, 1, 1}, ""},
    // Jewish windows run from the eve to the festival's last day.
    {"Rosh Hashanah", {"2025-09-24", "2026-09-13", "2027-10-03"}, {3, 3, 3}, "5786, 5787, 5788"},
    {"Yom Kippur", {"2025-10-02", "2026-09-21", "2027-10-11"}, {2, 2, 2}, ""},
    {"Sukkot", {"2025-10-13", "2026-10-02", "2027-10-22"}, {8, 8, 8}, "to Hoshana Raba"},
    {"Simchat Torah", {"2025-10-15", "2026-10-04", "2027-10-24"}, {3, 3, 3}, "with Shemini Atzeret"},
    {"Hanukkah",
     {"2025-12-22", "2026-12-12", "2028-01-01"},
     {9, 9, 9},
     "first candle 14 Dec 2025, 4 Dec 2026, 24 Dec 2027"},
    {"Tu BiShvat",
     {"2026-02-02", "2027-01-23", "2028-02-12"},
     {2, 2, 2},
     "of the Jewish year that begins in the autumn of the year"},
    {"Purim", {"2025-03-14", "2026-03-03", "2027-03-23"}, {2, 2, 2}, "2027 is a leap year: the second Adar"},
    {"Passover",
     {"2025-04-20", "2026-04-09", "2027-04-29"},
     {9, 9, 9},
     "first Seder 12 Apr 2025, 1 Apr 2026, 21 Apr 2027"},
    {"Shavuot", {"2025-06-03", "2026-05-23", "2027-06-12"}, {3, 3, 3}, ""},
    // Tabular Islamic dates: 1 Ramadan 2025-03-01, 2026-02-18, 2027-02-08, as observed in Saudi
    // Arabia in 2025 and expected for 2026 and 2027. Eid al-Fitr was observed on 30 March 2025
    // (tabular: 31 March), Eid al-Adha on 6 June 2025 (tabular: 7 June); 2026 and 2027 expected
    // on the tabular days, 20 March and 27 May 2026, 10 March and 17 May 2027, give or take a day.
    {"Ramadan", {"2025-03-30", "2026-03-19", "2027-03-09"}, {31, 31, 31}, "from the eve to the 30th day"},
    {"Eid al-Fitr", {"2025-04-02", "2026-03-22", "2027-03-12"}, {3, 3, 3}, "1 to 3 Shawwal"},
    {"Eid al-Adha", {"2025-06-10", "2026-05-30", "2027-05-20"}, {4, 4, 4}, "10 to 13 Dhu al-Hijjah"},
    // The arithmetic rule: a day late in 2025, a lunation early in 2026 and 2027 (the real
    // days are 29 January 2025, 17 February 2026 and 6 February 2027).
    {"Chinese New Year", {"2025-01-30", "2026-01-19", "2027-01-08"}, {7, 7, 7}, "approximation"},
    // Each two-day window holds the real moment: equinox 20 Mar, solstice 21 Jun, equinox
    // 22/23/23 Sep, solstice 21/21/22 Dec in 2025/2026/2027.
    {"Spring Equinox", {"2025-03-21", "2026-03-21", "2027-03-21"}, {2, 2, 2}, ""},
    {"Summer Solstice", {"2025-06-21", "2026-06-21", "2027-06-21"}, {2, 2, 2}, ""},
    {"Autumn Equinox", {"2025-09-23", "2026-09-23", "2027-09-23"}, {2, 2, 2}, ""},
    {"Winter Solstice", {"2025-12-22", "2026-12-22", "2027-12-22"}, {2, 2, 2}, ""},
    {"Spring", {"2025-06-19", "2026-06-19", "2027-06-19"}, {90, 90, 90}, ""},
    {"Summer", {"2025-09-21", "2026-09-21", "2027-09-21"}, {92, 92, 92}, ""},
    {"Autumn", {"2025-12-20", "2026-12-20", "2027-12-20"}, {88, 88, 88}, ""},
    {"Winter", {"2025-03-19", "2026-03-19", "2027-03-19"}, {87, 87, 87}, "from late December"},
    {"Leap Day", {"", "", ""}, {0, 0, 0}, "next on 29 February 2028"},
    {"January", {"2025-01-31", "2026-01-31", "2027-01-31"}, {31, 31, 31}, ""},
    {"February", {"2025-02-28", "2026-02-28", "2027-02-28"}, {28, 28, 28}, ""},
    {"March", {"2025-03-31", "2026-03-31", "2027-03-31"}, {31, 31, 31}, ""},
    {"April", {"2025-04-30", "2026-04-30", "2027-04-30"}, {30, 30, 30}, ""},
    {"May", {"2025-05-31", "2026-05-31", "2027-05-31"}, {31, 31, 31}, ""},
    {"June", {"2025-06-30", "2026-06-30", "2027-06-30"}, {30, 30, 30}, ""},
    {"July", {"2025-07-31", "2026-07-31", "2027-07-31"}, {31, 31, 31}, ""},
    {"August", {"2025-08-31", "2026-08-31", "2027-08-31"}, {31, 31, 31}, ""},
    {"September", {"2025-09-30", "2026-09-30", "2027-09-30"}, {30, 30, 30}, ""},
    {"October", {"2025-10-31", "2026-10-31", "2027-10-31"}, {31, 31, 31}, ""},
    {"November", {"2025-11-30", "2026-11-30", "2027-11-30"}, {30, 30, 30}, ""},
    {"December", {"2025-12-31", "2026-12-31", "2027-12-31"}, {31, 31, 31}, ""},
};

std::vector<EventRecord> ShippedTable() {
    auto text = ReadTextFile(QStringLiteral(MERIVANE_SOURCE_DATA_DIR) + "/Merivane.hol");
    return text ? ParseEventTable(*text) : std::vector<EventRecord>{};
}

TEST(DefaultTable, EveryEventFallsOnItsPublicDatesIn2025To2027) {
    const auto events = ShippedTable();
    ASSERT_FALSE(events.empty());
    QSet<QString> checked;
    for (const Expected& expected : kExpected) {
        checked.insert(expected.Name);
    }
    for (const EventRecord& event : events) {
        EXPECT_TRUE(checked.contains(event.Name)) << "no expected dates for " << event.Name.toStdString();
    }
    for (const Expected& expected : kExpected) {
        auto event = std::find_if(events.begin(), events.end(),
                                  [&](const EventRecord& e) { return e.Name == expected.Name; });
        ASSERT_NE(event, events.end()) << expected.Name;
        for (int i = 0; i < 3; ++i) {
            QString year = QString::number(2025 + i);
            SCOPED_TRACE(testing::Message()
                         << expected.Name << " " << year.toStdString() << " " << expected.Note);
            auto window = EventDateForYear(*event, year, RuleContext{2026, false});
            bool defined = window && window->DaysShown >= 1 && window->DaysShown < kAnyDay;
            ASSERT_EQ(defined, expected.End[i][0] != '\0');
            if (defined) {
                EXPECT_EQ(DateOfSerial(window->EndDate).toString(Qt::ISODate), expected.End[i]);
                EXPECT_EQ(window->DaysShown, expected.Days[i]);
            }
        }
    }
}

TEST(DefaultTable, NamesAreUniqueAndKeywordsAreLowerCase) {
    QSet<QString> names;
    for (const EventRecord& event : ShippedTable()) {
        EXPECT_FALSE(names.contains(event.Name)) << event.Name.toStdString();
        names.insert(event.Name);
        EXPECT_EQ(event.Keywords, event.Keywords.toLower());
        EXPECT_NE(event.RuleType, u' ') << event.Name.toStdString();
    }
}

}  // namespace
}  // namespace merivane
