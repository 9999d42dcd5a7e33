#include "app/Ctl.h"
#include "app/Main.h"
#include "platform/linux/HostPlatform.h"

int main(int argc, char* argv[]) {
    const QStringList arguments = merivane::ArgumentsOf(argc, argv);
    using Use = merivane::HostPlatform::Use;
    auto host = merivane::HostPlatform::Create(merivane::CtlCommandWrites(arguments) ? Use::Tool : Use::Look,
                                               QStringLiteral("merivanectl"));
    if (!host) {
        return 1;
    }
    return merivane::RunCtl(host->Get(), arguments);
}
