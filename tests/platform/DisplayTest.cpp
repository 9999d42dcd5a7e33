#include "platform/linux/LinuxAdapters.h"

#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace merivane {
namespace {

// A window is tried only where a display answers: Qt ends the process when it cannot reach
// the one it is given.
TEST(Display, ReachableOnlyWhereItAnswers) {
    QTemporaryDir runtime;
    QFile(runtime.path() + "/wayland-7").open(QIODevice::WriteOnly);
    // An X server of our own: a listening socket for a display number nobody uses.
    const int number = 900 + static_cast<int>(::getpid() % 90);
    QDir().mkpath("/tmp/.X11-unix");
    const QByteArray path = QStringLiteral("/tmp/.X11-unix/X%1").arg(number).toUtf8();
    ::unlink(path.constData());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(server, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(server, 4), 0);

    struct Case {
        const char* Name;
        QList<QPair<QString, QString>> Env;
        bool Reachable;
    };
    const QString live = QStringLiteral(":%1").arg(number);
    const Case cases[] = {
        {"nothing", {}, false},
        {"offscreen", {{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {"an X display that answers", {{"DISPLAY", live}}, true},
        {"its screen", {{"DISPLAY", live + ".0"}}, true},
        {"a display over the network", {{"DISPLAY", "far.example:0"}}, true},
        {"a Wayland socket", {{"WAYLAND_DISPLAY", "wayland-7"}, {"XDG_RUNTIME_DIR", runtime.path()}}, true},
        {"a Wayland socket that is gone",
         {{"WAYLAND_DISPLAY", "wayland-8"}, {"XDG_RUNTIME_DIR", runtime.path()}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        test::FakeEnvironment env;
        for (const auto& [name, value] : c.Env) {
            env.Set(name, value);
        }
        EXPECT_EQ(DisplayReachable(env), c.Reachable);
    }
    ::close(server);
    ::unlink(path.constData());
    test::FakeEnvironment gone;
    gone.Set("DISPLAY", live);
    EXPECT_FALSE(DisplayReachable(gone));  // a stale display: its server has ended
}

}  // namespace
}  // namespace merivane
