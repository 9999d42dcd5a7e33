#include "platform/linux/HostPlatform.h"

namespace merivane {

namespace {
// For a process that must not count as a running instance (the scripting tool).
class NoInstances final : public InstanceGuard {
  public:
    bool AnotherInstanceRunning() override { return false; }
};
}  // namespace

std::unique_ptr<HostPlatform> HostPlatform::Create(bool countAsInstance) {
    std::unique_ptr<HostPlatform> host(new HostPlatform());
    HomeLayout home = HomeLayout::FromEnvironment(host->m_env);
    QString error;
    if (!home.Create(&error)) {
        host->m_console.Err(QStringLiteral("merivane: %1\n").arg(error));
        return nullptr;
    }
    home.InstallShippedData(ShippedDataDir(host->m_env));
    QString warning;
    host->m_clock = std::make_unique<SystemClock>(host->m_env, &warning);
    if (!warning.isEmpty()) {
        host->m_console.Err(QStringLiteral("merivane: %1\n").arg(warning));
    }
    host->m_dialogs = std::make_unique<ConsoleDialogs>(host->m_console);
    if (countAsInstance) {
        host->m_instances = std::make_unique<LockFileInstanceGuard>(home.InstanceDir);
    } else {
        host->m_instances = std::make_unique<NoInstances>();
    }
    host->m_version = std::make_unique<EnvironmentWindowsVersion>(host->m_env);
    host->m_processes = std::make_unique<HostProcesses>(home);
    StdConsole& console = host->m_console;
    host->m_store = SqliteRegistryStore::Open(home.RegistryFile, [&console](const QString& message) {
        console.Err(QStringLiteral("merivane: %1\n").arg(message));
    });
    if (!host->m_store) {
        return nullptr;
    }
    host->m_desktop =
        std::make_unique<DesktopBackground>(host->m_env, host->m_runner, host->m_events, home.Home);
    host->m_system = std::make_unique<LinuxSystemSettings>(*host->m_store, *host->m_desktop, host->m_console);
    host->m_platform.emplace(Platform{home, *host->m_store, host->m_env, *host->m_clock, host->m_random,
                                      *host->m_dialogs, host->m_console, *host->m_instances, *host->m_version,
                                      *host->m_processes, host->m_events, host->m_screen, *host->m_system});
    return host;
}

}  // namespace merivane
