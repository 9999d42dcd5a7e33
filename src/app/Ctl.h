#pragma once

#include "platform/Platform.h"

#include <QStringList>

namespace merivane {

// merivanectl: commands for scripts and curious users. Output goes to the platform's
// console; the result is the process exit code (0 done, 1 failed, 2 wrong usage).
int RunCtl(Platform& platform, const QStringList& arguments);

QString CtlUsage();

// Whether the command changes anything (the store, the home, files); the others only look,
// and make not even a missing home.
bool CtlCommandWrites(const QStringList& arguments);

}  // namespace merivane
