#pragma once

#include "calendar/DateRules.h"

#include <cstdint>
#include <optional>

namespace merivane {

// The church rules read years from 1980 to 2150; any other year text means the current year.
int ChurchYear(const QString& year, int currentYear);

SerialDate EasterSunday(const QString& year, int currentYear);
// An arithmetic approximation: 73 days before the spring full moon of the church
// calendar, between 8 January and 5 February; one lunation early in some years.
SerialDate ChineseNewYear(const QString& year, int currentYear);
// Ends on 24 December and starts on the first Sunday of Advent.
std::optional<EventWindow> AdventWindow(const QString& year);
// 26 December, or 27 December when Christmas is a Saturday.
std::optional<SerialDate> BoxingDay(const QString& year);
// The day before 1 Ramadan of the tabular Islamic calendar, for the latest Ramadan whose
// eve falls in the year.
std::optional<SerialDate> RamadanStart(const QString& year);
// 1 Tishri of the Jewish year that begins in the Gregorian year.
SerialDate JewishNewYear(std::int16_t year);
// The day before the Gregorian day of day `day` of Jewish month `month` (1 Tishri .. 12
// Elul, 6 the first Adar): months 1 to 5 of the Jewish year that begins in the autumn of
// `year`, months 6 to 12 of the one that began the autumn before. Nothing for a month
// outside 0..12.
std::optional<SerialDate> JewishDate(int month, int day, std::int16_t year);

}  // namespace merivane
