#include "app/Ctl.h"
#include "app/Main.h"
#include "platform/linux/HostPlatform.h"

int main(int argc, char* argv[]) {
    auto host = merivane::HostPlatform::Create(false);
    if (!host) {
        return 1;
    }
    return merivane::RunCtl(host->Get(), merivane::ArgumentsOf(argc, argv));
}
