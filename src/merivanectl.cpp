#include "app/Ctl.h"
#include "app/Main.h"
#include "platform/linux/DesktopBackground.h"
#include "platform/linux/HostPlatform.h"
#include "platform/linux/ScheduledTasks.h"

int main(int argc, char* argv[]) {
    const QStringList arguments = merivane::ArgumentsOf(argc, argv);
    using Use = merivane::HostPlatform::Use;
    auto host = merivane::HostPlatform::Create(merivane::CtlCommandWrites(arguments) ? Use::Tool : Use::Look,
                                               QStringLiteral("merivanectl"));
    if (!host) {
        return 1;
    }
    merivane::Platform& platform = host->Get();
    merivane::ProcessRunner runner(platform.Home.Home);
    const QString executable = merivane::MerivaneExecutable();
    merivane::LinuxCompanion companion(
        merivane::TaskPlacesFor(platform.Env, executable, platform.Home.Home + QStringLiteral("working/")),
        runner);
    return merivane::RunCtl(platform, arguments, {executable, &companion});
}
