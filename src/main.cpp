#include "app/Main.h"
#include "platform/linux/HostPlatform.h"

#include <QFileInfo>
#include <QStringList>

int main(int argc, char* argv[]) {
    auto host = merivane::HostPlatform::Create(true);
    if (!host) {
        return 1;
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    merivane::Program program(host->Get());
    program.ExecutableName = QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName();
    return merivane::Main(program, arguments);
}
