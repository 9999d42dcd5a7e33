#pragma once

#include "platform/Platform.h"
#include "platform/TaskScheduler.h"

#include <QStringList>

namespace merivane {

// merivanectl: commands for scripts and curious users. Output goes to the platform's
// console; the result is the process exit code (0 done, 1 failed, 2 wrong usage).
// What the scheduling commands need of the machine beyond the platform: the program that
// autostart and the task start, the task scheduler, and the resident program's mark.
struct CtlMachine {
    QString ExecutablePath;
    CompanionComponent* Companion = nullptr;
};
int RunCtl(Platform& platform, const QStringList& arguments, const CtlMachine& machine = {});

QString CtlUsage();

// Whether the command changes anything (the store, the home, files); the others only look,
// and make not even a missing home.
bool CtlCommandWrites(const QStringList& arguments);

}  // namespace merivane
