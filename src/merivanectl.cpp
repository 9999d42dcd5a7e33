#include "app/Ctl.h"
#include "platform/linux/HostPlatform.h"

#include <QStringList>

int main(int argc, char* argv[]) {
    auto host = merivane::HostPlatform::Create(false);
    if (!host) {
        return 1;
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return merivane::RunCtl(host->Get(), arguments);
}
