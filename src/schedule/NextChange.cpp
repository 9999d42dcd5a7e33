#include "schedule/NextChange.h"

#include <algorithm>
#include <cmath>

namespace merivane {

namespace {
// Sums of 1/N of a day drift by microseconds: a slot that close after the base is the
// base's own slot, not the next one.
constexpr double kSameSlot = 1.0 / kSecondsPerDay;
}  // namespace

SerialDate CalcNextChangeTime(std::int16_t typeOfScheduling, SerialDate scheduledTime,
                              std::int16_t changesPerDay, SerialDate lastChangeDate, SerialDate now) {
    const SerialDate base = lastChangeDate == 0 ? now : lastChangeDate;
    const double today = std::floor(now);
    if (typeOfScheduling <= 1) {
        return std::floor(base) != today ? today : today + 1;
    }
    const int slots = std::max<int>(1, changesPerDay);
    const double timeOfDay = std::fabs(scheduledTime - std::trunc(scheduledTime));
    SerialDate candidate = std::floor(base) - 1 + timeOfDay;
    while (candidate < base + kSameSlot) {
        candidate += 1.0 / slots;
    }
    return candidate;
}

SerialDate CalcNextChangeTime(const SettingsState& state) {
    const AppSettings& setup = state.Setup;
    return CalcNextChangeTime(setup.TypeOfScheduling, setup.ScheduledTime, setup.ChangesPerDay,
                              state.LastChange.ChangeDate, state.Sys.Time.Now());
}

}  // namespace merivane
