#include "platform/SerialDate.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(SerialDates, CountDaysFromTheLastDaysOf1899) {
    EXPECT_EQ(SerialFromYmd(1899, 12, 30), 0.0);
    EXPECT_EQ(SerialFromYmd(1900, 1, 1), 2.0);
    EXPECT_EQ(SerialFromYmd(2000, 1, 1), 36526.0);
    EXPECT_EQ(SerialFromYmd(2026, 12, 9), 46365.0);
    EXPECT_EQ(SerialFromDate(QDate(2026, 12, 9)), 46365.0);
    EXPECT_EQ(DateOfSerial(46365.99), QDate(2026, 12, 9));
}

TEST(SerialDates, ImpossibleDatesAreEmptyNotRolledOver) {
    EXPECT_FALSE(SerialFromYmd(2025, 2, 29).has_value());
    EXPECT_FALSE(SerialFromYmd(2026, 13, 1).has_value());
    EXPECT_FALSE(SerialFromYmd(2026, 4, 31).has_value());
    EXPECT_TRUE(SerialFromYmd(2024, 2, 29).has_value());
}

TEST(SerialDates, TimeOfDayIsTheFraction) {
    SerialDate evening = SerialFromDateTime(QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    EXPECT_DOUBLE_EQ(evening, 46365.75);
    EXPECT_EQ(DateTimeOfSerial(evening), QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    EXPECT_EQ(SecondsOfDay(evening), 18 * 3600);
}

TEST(SerialDates, BeforeTheEpochTheFractionCountsForward) {
    // -1.25 is 29 December 1899 at 06:00, not 28 December at 18:00.
    EXPECT_EQ(DateTimeOfSerial(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(SerialFromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(SerialDates, RoundingToSecondsCarriesIntoTheNextDay) {
    SerialDate almostMidnight = 46365.0 + (86400.0 - 0.4) / 86400.0;
    EXPECT_EQ(DateTimeOfSerial(almostMidnight), QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
}

}  // namespace
}  // namespace merivane
