#include "app/Main.h"
#include "platform/linux/HostPlatform.h"
#include "ui/StartupLogoWindow.h"

#include <QFileInfo>

int main(int argc, char* argv[]) {
    merivane::ProcessEnvironment env;
    // Declared first, so that it outlives everything that may show through it.
    merivane::StartupLogoWindow logo(env, 15);
    auto host = merivane::HostPlatform::Create(merivane::HostPlatform::Use::Instance,
                                               QStringLiteral("merivane"), &logo);
    if (!host) {
        return 1;
    }
    merivane::Program program(host->Get());
    program.ExecutableName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
    return merivane::Main(program, merivane::ArgumentsOf(argc, argv));
}
