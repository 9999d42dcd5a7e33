#include "platform/SerialDate.h"

#include <cmath>

namespace merivane {

namespace {
constexpr std::chrono::sys_days kEpoch = std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};

// A serial's date part and its time in whole seconds, with rounding carried into the date.
struct Split {
    long long days;
    int seconds;
};

Split SplitSerial(SerialDate serial) noexcept {
    double whole = std::trunc(serial);
    double fraction = std::fabs(serial - whole);
    long long seconds = std::llround(fraction * kSecondsPerDay);  // 0..86400
    long long days = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += serial < 0 ? -1 : 1;
    }
    return {days, static_cast<int>(seconds)};
}
}  // namespace

SerialDate SerialFromDays(std::chrono::sys_days day) noexcept {
    return static_cast<double>((day - kEpoch).count());
}

std::chrono::sys_days DaysFromSerial(SerialDate serial) noexcept {
    return kEpoch + std::chrono::days{static_cast<long long>(std::trunc(serial))};
}

std::optional<SerialDate> SerialFromYmd(int year, unsigned month, unsigned day) noexcept {
    std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                    std::chrono::day{day}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return SerialFromDays(std::chrono::sys_days{ymd});
}

SerialDate SerialFromDate(const QDate& date) {
    return SerialFromDays(kEpoch) +
           static_cast<double>(date.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

SerialDate SerialFromTime(const QTime& time) {
    return time.msecsSinceStartOfDay() / (kSecondsPerDay * 1000.0);
}

SerialDate SerialFromDateTime(const QDateTime& local) {
    double days = SerialFromDate(local.date());
    double fraction = SerialFromTime(local.time());
    return days < 0 ? days - fraction : days + fraction;
}

double WholeDays(SerialDate serial) noexcept {
    return static_cast<double>(SplitSerial(serial).days);
}

int SecondsOfDay(SerialDate serial) noexcept {
    return SplitSerial(serial).seconds;
}

QDate DateOfSerial(SerialDate serial) {
    return QDate(1899, 12, 30).addDays(SplitSerial(serial).days);
}

QDateTime DateTimeOfSerial(SerialDate serial) {
    Split split = SplitSerial(serial);
    return QDateTime(QDate(1899, 12, 30).addDays(split.days), QTime(0, 0).addSecs(split.seconds));
}

}  // namespace merivane
