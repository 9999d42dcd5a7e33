#include "app/Main.h"
#include "platform/linux/HostPlatform.h"

#include <QFileInfo>

int main(int argc, char* argv[]) {
    auto host =
        merivane::HostPlatform::Create(merivane::HostPlatform::Use::Instance, QStringLiteral("merivane"));
    if (!host) {
        return 1;
    }
    merivane::Program program(host->Get());
    program.ExecutableName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
    return merivane::Main(program, merivane::ArgumentsOf(argc, argv));
}
