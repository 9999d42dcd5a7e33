#pragma once

#include "schedule/ScheduleState.h"

#include <QString>

namespace merivane {

// All the program-wide state of one running program. Each layer keeps its own part in a
// base it can see (SettingsState, CalendarState, SelectionState, ScheduleState, layer by layer); this is
// the whole.
struct Program : ScheduleState {
    explicit Program(Platform& platform) : ScheduleState(platform) {}

    // The command line as the handlers read it again: the arguments joined by blanks.
    QString CommandLine;
};

}  // namespace merivane
