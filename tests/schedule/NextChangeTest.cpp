#include "schedule/NextChange.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

SerialDate At(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    return *SerialFromYmd(y, m, d) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

QString Text(SerialDate s) {
    return DateTimeOfSerial(s).toString("yyyy-MM-dd HH:mm:ss");
}

struct Case {
    const char* Name;
    std::int16_t Type;
    SerialDate Scheduled;
    std::int16_t PerDay;
    SerialDate Last;
    SerialDate Now;
    const char* Expected;
};

TEST(NextChangeTime, TheExamples) {
    const SerialDate halfPastMidnight = 0.5 / 24;
    const Case cases[] = {
        {"never changed, daily: tomorrow", 1, halfPastMidnight, 1, 0, At(2026, 12, 9, 10),
         "2026-12-10 00:00:00"},
        {"never changed, timed: the next slot", 2, halfPastMidnight, 1, 0, At(2026, 12, 9, 10),
         "2026-12-10 00:30:00"},
        {"daily, last change yesterday 23:59: due today", 1, halfPastMidnight, 1, At(2026, 12, 8, 23, 59),
         At(2026, 12, 9, 8), "2026-12-09 00:00:00"},
        {"daily, changed today: tomorrow", 1, halfPastMidnight, 1, At(2026, 12, 9, 0, 5), At(2026, 12, 9, 8),
         "2026-12-10 00:00:00"},
        {"method 0 is daily too", 0, halfPastMidnight, 4, At(2026, 12, 1), At(2026, 12, 9, 8),
         "2026-12-09 00:00:00"},
        {"timed, changed on the slot itself: the next day's", 2, halfPastMidnight, 1, At(2026, 12, 9, 0, 30),
         At(2026, 12, 9, 8), "2026-12-10 00:30:00"},
        {"96 a day from 00:30, changed 14:07", 3, halfPastMidnight, 96, At(2026, 12, 9, 14, 7),
         At(2026, 12, 9, 14, 8), "2026-12-09 14:15:00"},
        {"four a day", 2, halfPastMidnight, 4, At(2026, 12, 9, 6, 31), At(2026, 12, 9, 7),
         "2026-12-09 12:30:00"},
        {"four a day: the slot before the time on the clock", 2, halfPastMidnight, 4, At(2026, 12, 9, 0, 10),
         At(2026, 12, 9, 0, 20), "2026-12-09 00:30:00"},
        {"11 PM once a day, changed 01:00", 2, 23.0 / 24, 1, At(2026, 12, 9, 1), At(2026, 12, 9, 2),
         "2026-12-09 23:00:00"},
        {"a date carried in the scheduled time is ignored", 2, 40000 + 23.0 / 24, 1, At(2026, 12, 9, 1),
         At(2026, 12, 9, 2), "2026-12-09 23:00:00"},
        {"clock set back, daily: due today", 1, halfPastMidnight, 1, At(2026, 12, 20), At(2026, 12, 9, 8),
         "2026-12-09 00:00:00"},
        {"clock set back, timed: after the future change", 2, halfPastMidnight, 1, At(2026, 12, 20, 5),
         At(2026, 12, 9, 8), "2026-12-21 00:30:00"},
        {"no slots a day is read as one", 2, halfPastMidnight, 0, At(2026, 12, 9, 5), At(2026, 12, 9, 8),
         "2026-12-10 00:30:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Text(CalcNextChangeTime(c.Type, c.Scheduled, c.PerDay, c.Last, c.Now)), c.Expected);
    }
}

TEST(NextChangeTime, SevenADaySpacedBySeventhsAndStartingAgainEachDay) {
    SerialDate last = At(2026, 12, 9, 0, 30);
    SerialDate previous = last;
    for (int i = 0; i < 7; ++i) {
        SerialDate next = CalcNextChangeTime(2, 0.5 / 24, 7, last, last);
        if (i < 6) {
            EXPECT_NEAR((next - previous) * 86400, 205 * 60 + 42.857, 0.01);
        } else {
            EXPECT_EQ(Text(next), "2026-12-10 00:30:00");
        }
        previous = next;
        last = next;
    }
}

TEST(NextChangeTime, AChangeStampedOnASlotNeverMakesThatSlotDueAgain) {
    // Sums of 1/N drift a few microseconds past the exact slot for these N.
    for (int n : {3, 12, 20, 25, 36, 40, 48, 60, 72, 75, 96, 7, 1}) {
        SCOPED_TRACE(n);
        SerialDate last = At(2026, 12, 9, 0, 30);
        for (int k = 0; k < n; ++k) {
            SerialDate next = CalcNextChangeTime(2, 0.5 / 24, static_cast<std::int16_t>(n), last, last);
            ASSERT_GT((next - last) * 86400, 1.0) << "slot " << k;
            ASSERT_NEAR((next - last) * 86400, 86400.0 / n, 0.01) << "slot " << k;
            last = next;
        }
    }
}

}  // namespace
}  // namespace merivane
