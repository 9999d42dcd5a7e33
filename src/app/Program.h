#pragma once

#include "calendar/EventTable.h"

#include <QString>

namespace merivane {

// All the program-wide state of one running program. Each layer keeps its own part in a
// base it can see (SettingsState for the settings layer, CalendarState above it); this
// is the whole.
struct Program : CalendarState {
    explicit Program(Platform& platform) : CalendarState(platform) {}

    // The command line as the handlers read it again: the arguments joined by blanks.
    QString CommandLine;
    // The executable's file name without extension, as the usage text names it.
    QString ExecutableName = QStringLiteral("merivane");
    // Set while a change runs, so that a timer tick or menu command cannot start another.
    bool ChangeInProgress = false;
};

}  // namespace merivane
