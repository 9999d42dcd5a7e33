#include "app/Main.h"
#include "platform/linux/HostPlatform.h"
#include "platform/linux/ScheduledTasks.h"
#include "platform/linux/SessionVariables.h"
#include "ui/QtDialogs.h"
#include "ui/ResidentHost.h"
#include "ui/SetupWindow.h"
#include "ui/SetupWindowCall.h"
#include "ui/StartupLogoWindow.h"

#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char* argv[]) {
    using namespace merivane;
    ProcessEnvironment env;
    const QStringList arguments = ArgumentsOf(argc, argv);
    const QString sw = BuildSwitch(JoinCommandLine(arguments));
    const HomeLayout home = HomeLayout::FromEnvironment(env);
    if (sw == QLatin1String("/n")) {
        // A run from cron has no session of its own: the last one's, while it lives.
        AdoptSessionVariables(env, SessionFile(home.Home));
    } else if (sw == QLatin1String("/c")) {
        NoteSessionVariables(env, SessionFile(home.Home));
    }
    // Declared first, so that it outlives everything that may show through it.
    StartupLogoWindow logo(env, 15);
    auto host = HostPlatform::Create(HostPlatform::Use::Instance, QStringLiteral("merivane"), &logo);
    if (!host) {
        return 1;
    }
    const QString callName = SetupWindowCall::SocketName(home);
    if (!IsOneShotSwitch(sw) && host->Get().Instances.AnotherInstanceRunning() &&
        SetupWindowCall::Ask(callName)) {
        return 0;  // the running Merivane shows its setup window
    }
    QtDialogs windowBoxes;
    host->Boxes().UseWindows(&windowBoxes);
    Program program(host->Get());
    program.ExecutableName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
    program.ExecutablePath = MerivaneExecutable();
    ProcessRunner runner(home.Home);
    LinuxCompanion companion(
        TaskPlacesFor(env, program.ExecutablePath, home.Home + QStringLiteral("working/")), runner);
    program.Companion = &companion;
    ResidentHost resident(argc, argv, program);
    QPointer<QWidget> setupWindow;
    // The first-run setup (/i) opens on the Settings tab.
    const int firstTab = sw == QLatin1String("/i") ? 3 : 1;
    resident.OpenSetupWindow = [&setupWindow, firstTab](Program& p) {
        const bool opening = setupWindow.isNull();
        ShowSetupWindow(p, setupWindow, firstTab);
        if (opening && setupWindow) {
            // Closing the setup window ends the program, unless it stays resident.
            QObject::connect(setupWindow.data(), &QObject::destroyed, [&p] {
                if (!p.KeepsRunning()) {
                    QCoreApplication::exit(0);
                }
            });
        }
    };
    program.Resident = &resident;

    int code = Main(program, arguments);
    if (program.KeepsRunning() || setupWindow) {
        // A second Merivane started meanwhile shows this one's window instead of its own.
        SetupWindowCall call;
        call.Listen(callName, [&resident] { resident.ShowSetupWindow(); });
        code = resident.Run();
    }
    logo.Close();
    delete setupWindow.data();
    return code;
}
