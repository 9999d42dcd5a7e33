#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <chrono>
#include <optional>

namespace merivane {

// Days since 1899-12-30; the fraction is the time of day. Negative values keep the
// fraction positive in magnitude (-1.25 is 1899-12-29 06:00), as the stored dates expect.
using SerialDate = double;

inline constexpr double kSecondsPerDay = 86400.0;

// The one place where serial dates meet calendar and clock types.
SerialDate SerialFromDays(std::chrono::sys_days day) noexcept;
std::chrono::sys_days DaysFromSerial(SerialDate serial) noexcept;
std::optional<SerialDate> SerialFromYmd(int year, unsigned month, unsigned day) noexcept;
SerialDate SerialFromDateTime(const QDateTime& local);
SerialDate SerialFromDate(const QDate& date);
SerialDate SerialFromTime(const QTime& time);
QDate DateOfSerial(SerialDate serial);
// Rounded to whole seconds; 23:59:59.6 becomes midnight of the next day.
QDateTime DateTimeOfSerial(SerialDate serial);
// Whole days (the date part) and the time of day in seconds, rounded.
double WholeDays(SerialDate serial) noexcept;
int SecondsOfDay(SerialDate serial) noexcept;

}  // namespace merivane
