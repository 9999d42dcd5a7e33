#pragma once

#include "app/Program.h"
#include "platform/WindowsVersionInfo.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace merivane {

inline constexpr int kExitOk = 0;
inline constexpr int kExitAlreadyRunning = 1;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The process arguments after the program name, as text.
QStringList ArgumentsOf(int argc, char* argv[]);
// The arguments joined by blanks; an argument that holds a blank (or is empty) is put
// in double quotes.
QString JoinCommandLine(const QStringList& arguments);
// The two characters that select the action: trimmed, lower case, a leading '-' read as '/'.
QString BuildSwitch(const QString& commandLine);
// The switches that may run beside another running instance.
bool IsOneShotSwitch(const QString& switchText);
int WindowsVersionCode(const OsVersionRecord& record);
// The usage text, lines ending in CR LF, for an executable called `name`.
QString UsageText(const QString& name);
// The theme file that "/a NAME" names: relative names are taken from the theme folder,
// ".theme" is added when the name lacks it. Nothing when the command line has no name.
std::optional<QString> ApplyFileName(const QString& commandLine, const QString& themePath);

void GetWindowsVersion(Program& program);
// The folders, the version and the file associations, before the settings load.
void SetStartupGlobals(Program& program);
void ShowUsage(Program& program);

// The whole start-up and one handler; returns the process exit code.
int Main(Program& program, const QStringList& arguments);

}  // namespace merivane
