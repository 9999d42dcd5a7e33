#pragma once

#include "selection/SelectionState.h"

#include <QString>

namespace merivane {

// All the program-wide state of one running program. Each layer keeps its own part in a
// base it can see (SettingsState, CalendarState, SelectionState, layer by layer); this is
// the whole.
struct Program : SelectionState {
    explicit Program(Platform& platform) : SelectionState(platform) {}

    // The command line as the handlers read it again: the arguments joined by blanks.
    QString CommandLine;
    // The executable's file name without extension, as the usage text names it.
    QString ExecutableName = QStringLiteral("merivane");
};

}  // namespace merivane
