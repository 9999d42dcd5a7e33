#pragma once

#include "platform/Platform.h"
#include "platform/SqliteRegistryStore.h"
#include "platform/linux/DesktopBackground.h"
#include "platform/linux/LinuxAdapters.h"

#include <memory>
#include <optional>

namespace merivane {

// The Linux adapters of every port, owned together and wired into one Platform.
class HostPlatform {
  public:
    // Makes the home if needed and opens the registry store. `countAsInstance` makes this
    // process one of the running instances. Problems go to standard error; nothing when
    // the home cannot be made at all.
    static std::unique_ptr<HostPlatform> Create(bool countAsInstance);

    Platform& Get() { return *m_platform; }

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
    ProcessRunner m_runner;
    std::unique_ptr<DesktopBackground> m_desktop;
    std::unique_ptr<LinuxSystemSettings> m_system;
    std::unique_ptr<SqliteRegistryStore> m_store;
    std::optional<Platform> m_platform;
};

}  // namespace merivane
