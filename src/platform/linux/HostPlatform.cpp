#include "platform/linux/HostPlatform.h"

namespace merivane {

namespace {
// For a process that must not count as a running instance (the scripting tool).
class NoInstances final : public InstanceGuard {
  public:
    bool AnotherInstanceRunning() override { return false; }
};
}  // namespace

std::unique_ptr<HostPlatform> HostPlatform::Create(Use use, const QString& name, LogoWindow* logo) {
    std::unique_ptr<HostPlatform> host(new HostPlatform());
    StdConsole& console = host->m_console;
    auto warn = [&console, name](const QString& message) {
        console.Err(name + QStringLiteral(": ") + message + u'\n');
    };
    HomeLayout home = HomeLayout::FromEnvironment(host->m_env);
    home.ShippedData = ShippedDataDir(host->m_env);
    if (use != Use::Look) {
        QString error;
        if (!home.Create(&error)) {
            warn(error);
            return nullptr;
        }
        home.InstallShippedData(home.ShippedData);
    }
    QString warning;
    host->m_clock = std::make_unique<SystemClock>(host->m_env, &warning);
    if (!warning.isEmpty()) {
        warn(warning);
    }
    host->m_dialogs = std::make_unique<ConsoleDialogs>(host->m_console);
    if (use == Use::Instance) {
        host->m_instances = std::make_unique<LockFileInstanceGuard>(home.InstanceDir);
    } else {
        host->m_instances = std::make_unique<NoInstances>();
    }
    host->m_version = std::make_unique<EnvironmentWindowsVersion>(host->m_env);
    host->m_processes = std::make_unique<HostProcesses>(home);
    host->m_store = SqliteRegistryStore::Open(
        home.RegistryFile, warn, use == Use::Look ? StoreAccess::ReadOnly : StoreAccess::ReadWrite);
    if (!host->m_store) {
        return nullptr;
    }
    host->m_runner = std::make_unique<ProcessRunner>(home.Home);
    host->m_sounds = std::make_unique<LinuxDesktopSounds>(host->m_env, *host->m_runner);
    host->m_desktop =
        std::make_unique<DesktopBackground>(host->m_env, *host->m_runner, host->m_events, home.Home);
    host->m_system = std::make_unique<LinuxSystemSettings>(*host->m_store, *host->m_desktop, host->m_console);
    host->m_platform.emplace(
        Platform{home, *host->m_store, host->m_env, *host->m_clock, host->m_random, *host->m_dialogs,
                 host->m_console, *host->m_instances, *host->m_version, *host->m_processes, host->m_events,
                 host->m_screen, *host->m_system, host->m_shell, host->m_pointer, host->m_sound,
                 logo != nullptr ? *logo : static_cast<LogoWindow&>(host->m_logo), *host->m_sounds});
    return host;
}

}  // namespace merivane
