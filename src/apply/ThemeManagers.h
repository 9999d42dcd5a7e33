#pragma once

#include "calendar/EventTable.h"
#include "settings/ChangeRecord.h"

#include <QString>

#include <vector>

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
// A theme manager the program knows by name, where it installs itself by default.
struct ThemeManagerRow {
    QString Name;
    QString Folder;   // ends in a backslash; empty for the registered one of no known name
    QString Program;  // file name
};
// The five known managers, in their fixed order.
const std::vector<ThemeManagerRow>& KnownThemeManagers();

// The managers the Management tab lists: the known ones whose program file exists, and the
// current one: the last listed whose program file name occurs in ThemeOpenCommand (without
// regard to case), else a row of its own for the registered file type and command.
struct ThemeManagerListing {
    std::vector<ThemeManagerRow> Rows;
    int Current = 0;  // index into Rows
};
ThemeManagerListing ListThemeManagers(const SettingsState& state);

// Makes the program the handler of ".theme" files: the file type's open command (or, when
// the type's key has no subkeys, the program's own type "ThemeFile" with its icon).
void SetThemeManager(SettingsState& state, const QString& fileTypeName, const QString& programPath);

// Runs the command line without a shell, letting events run about once a second, and ends
// it when it takes longer than the job's time-out.
void RunAndWait(CalendarState& state, ShellJob& job);
// The text between a theme manager and the theme file it is given.
QString ThemeManagerSwitch(const QString& openCommand);

}  // namespace merivane
