// "iconloc.dat": restoring from any file moves at most as many icons as the desktop has,
// each index once and in order; a file saved from a desktop restores it exactly.
#include "FuzzSupport.h"

#include "apply/Effects.h"
#include "support/TestPlatform.h"

#include <QFile>

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::TestPlatform* sys = new test::TestPlatform();
    CalendarState state(sys->Get());
    sys->PlaceIn(state);
    sys->shell.iconList = 3;
    sys->shell.autoArrange = false;
    sys->shell.icons = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    sys->shell.calls.clear();
    {
        QFile file(state.AppPath + kIconPositionsFileName);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(fuzz::Bytes(data, size));
    }
    RestoreIconPositionsFromFile(state);
    FUZZ_CHECK(sys->shell.calls.size() <= 4);
    for (int i = 0; i < sys->shell.calls.size(); ++i) {
        FUZZ_CHECK(sys->shell.calls[i].startsWith(QStringLiteral("set %1 ").arg(i)));
    }
    // What a desktop saves, it restores to the same places (same screen).
    sys->shell.icons = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    state.Icons = DesktopIcons{};
    SaveIconPositions(state);
    sys->shell.icons = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};
    state.Icons = DesktopIcons{};
    RestoreIconPositionsFromFile(state);
    FUZZ_CHECK(sys->shell.icons == (std::vector<QPoint>{{1, 2}, {3, 4}, {5, 6}, {7, 8}}));
    return 0;
}
