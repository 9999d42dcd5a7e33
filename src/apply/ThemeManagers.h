#pragma once

#include "calendar/EventTable.h"
#include "settings/ChangeRecord.h"

#include <QString>

namespace merivane {

// One run of an external program that is waited for.
struct ShellJob {
    QString CommandLine;
    int TimeOut = 0;  // milliseconds
    SerialDate StartTime = 0;
    SerialDate EndTime = 0;
    SerialDate ElapsedTime = 0;
    bool TimedOut = false;
    SerialDate TimeOfTermination = 0;
};

inline constexpr int kThemeManagerTimeOutMs = 45000;

// Hands the working copy to the registered theme manager, and/or to the program's own
// installer, as the UseThemeChanger setting says.
// `themeFolder` is what %ThemeDir% means; empty: the working copy's own folder.
void RunThemeChange(CalendarState& state, const ChangeRecord& workingCopy, bool showProgress,
                    const QString& themeFolder = QString());
// Runs the command line without a shell, letting events run about once a second, and ends
// it when it takes longer than the job's time-out.
void RunAndWait(CalendarState& state, ShellJob& job);
// The text between a theme manager and the theme file it is given.
QString ThemeManagerSwitch(const QString& openCommand);

}  // namespace merivane
