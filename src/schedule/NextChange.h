#pragma once

#include "platform/SerialDate.h"
#include "settings/SettingsState.h"

#include <cstdint>

namespace merivane {

// When the next automatic change is due. The daily methods (0, 1) answer a midnight:
// today's when no change was made today, else tomorrow's. The timed methods (2, 3) answer
// the first of the day's slots (scheduledTime + k/changesPerDay of a day, counted from the
// day before the last change) that lies later than the last change. A last change of 0
// counts as now.
SerialDate CalcNextChangeTime(std::int16_t typeOfScheduling, SerialDate scheduledTime,
                              std::int16_t changesPerDay, SerialDate lastChangeDate, SerialDate now);

// The same, from the program's settings and statistics and its clock.
SerialDate CalcNextChangeTime(const SettingsState& state);

}  // namespace merivane
