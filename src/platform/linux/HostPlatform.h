#pragma once

#include "platform/Platform.h"
#include "platform/SqliteRegistryStore.h"
#include "platform/linux/DesktopBackground.h"
#include "platform/linux/LinuxAdapters.h"
#include "platform/linux/LinuxDesktopSounds.h"

#include <memory>
#include <optional>

namespace merivane {

// The Linux adapters of every port, owned together and wired into one Platform.
class HostPlatform {
  public:
    enum class Use {
        Instance,  // the program: one of the running instances, may write its home
        Tool,      // the scripting tool when it writes: makes the home, is no instance
        Look,      // the scripting tool when it only reads: writes nothing, makes no home
    };
    // Makes the home if needed (not for Look) and opens the registry store. Problems go to
    // standard error, under `name`; nothing when the home or the store cannot be used.
    // `logo` shows the start-up logo (a window of the program's); none: it shows nowhere.
    static std::unique_ptr<HostPlatform> Create(Use use, const QString& name, LogoWindow* logo = nullptr);

    Platform& Get() { return *m_platform; }
    // The boxes behind Get().Ui, to which the windows give their own.
    ConsoleDialogs& Boxes() { return *m_dialogs; }

  private:
    HostPlatform() = default;

    ProcessEnvironment m_env;
    StdConsole m_console;
    std::unique_ptr<SystemClock> m_clock;
    MersenneRandom m_random;
    std::unique_ptr<ConsoleDialogs> m_dialogs;
    std::unique_ptr<InstanceGuard> m_instances;
    std::unique_ptr<EnvironmentWindowsVersion> m_version;
    std::unique_ptr<HostProcesses> m_processes;
    QtEventLoop m_events;
    DefaultScreen m_screen;
    std::unique_ptr<ProcessRunner> m_runner;
    std::unique_ptr<DesktopBackground> m_desktop;
    std::unique_ptr<LinuxSystemSettings> m_system;
    std::unique_ptr<SqliteRegistryStore> m_store;
    NoDesktopShell m_shell;
    HostPointer m_pointer;
    HostSound m_sound;
    NoLogoWindow m_logo;
    std::unique_ptr<LinuxDesktopSounds> m_sounds;
    std::optional<Platform> m_platform;
};

}  // namespace merivane
