#pragma once

#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DesktopShell.h"
#include "platform/DesktopSounds.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/EventLoop.h"
#include "platform/Home.h"
#include "platform/InstanceGuard.h"
#include "platform/LogoWindow.h"
#include "platform/Pointer.h"
#include "platform/Processes.h"
#include "platform/Random.h"
#include "platform/RegistryStore.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "platform/SystemSettings.h"
#include "platform/WindowsVersionInfo.h"

namespace merivane {

// Everything the program asks of the machine, wired once in main() (or by a test's fakes).
struct Platform {
    HomeLayout Home;
    RegistryStore& Store;
    Environment& Env;
    Clock& Time;
    Random& Rng;
    Dialogs& Ui;
    Console& Con;
    InstanceGuard& Instances;
    WindowsVersionInfo& Version;
    Processes& Procs;
    EventLoop& Events;
    Screen& Display;
    SystemSettings& System;
    DesktopShell& Shell;
    Pointer& Mouse;
    Sound& Audio;
    LogoWindow& Logo;
    DesktopSounds& Sounds;
};

}  // namespace merivane
