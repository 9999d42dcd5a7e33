#pragma once

#include <QString>

namespace merivane {

struct HomeLayout;

// Turns a path as the program's data writes it ("C:\WINDOWS\x.bmp", "%WinDir%"-expanded
// values, plain host paths) into a host path. "C:" maps to the home's drive folder; any
// other drive letter maps nowhere (empty result: such files do not exist). Backslashes
// become '/'. When the exact path does not exist, each component is looked up without
// regard to case, as Windows would; components that exist nowhere are kept as written,
// so the result still names where a new file would go.
QString HostPath(const HomeLayout& home, const QString& path);

// Both sides through HostPath, then compared; Windows paths compare without regard to case.
bool SameHostPath(const HomeLayout& home, const QString& a, const QString& b);

// The path as the Windows program would see it when it lies on the virtual drive
// ("c:\windows\..."), else the host path itself. Used where names are tested for words.
QString GuestView(const HomeLayout& home, const QString& hostPath);

}  // namespace merivane
