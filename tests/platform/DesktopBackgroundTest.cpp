#include "platform/linux/DesktopBackground.h"

#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class RecordingRunner final : public CommandRunner {
  public:
    bool Exists(const QString& program) const override { return installed.contains(program); }
    bool Run(const QString& program, const QStringList& arguments, int timeoutMs, QString* output) override {
        ran << (QStringList{program} + arguments).join(u' ');
        EXPECT_EQ(timeoutMs, 10000);
        if (output != nullptr) {
            *output = xfceProperties;
        }
        return !failing.contains(program);
    }
    qint64 StartDetached(const QString& program, const QStringList& arguments) override {
        ran << "start " + (QStringList{program} + arguments).join(u' ');
        return ++lastPid;
    }
    void End(qint64 processId, const QString&) override { ran << QStringLiteral("end %1").arg(processId); }

    QStringList installed;
    QStringList failing;
    QStringList ran;
    QString xfceProperties;
    qint64 lastPid = 100;
};

class DesktopBackgroundTest : public ::testing::Test {
  protected:
    bool Set(const QString& path, WallpaperMode mode) {
        DesktopBackground desktop(sys.env, runner, sys.events, sys.Home().Home);
        return desktop.Set(path, mode);
    }
    test::TestPlatform sys;
    RecordingRunner runner;
};

TEST_F(DesktopBackgroundTest, EachDesktopGetsItsOwnCommand) {
    struct Case {
        const char* Name;
        QList<QPair<QString, QString>> Env;
        QStringList Installed;
        WallpaperMode Mode;
        QStringList Expected;
    };
    const QString pic = "/h/drive_c/WINDOWS/Theme User.bmp";
    const QString uri = "file:///h/drive_c/WINDOWS/Theme%20User.bmp";
    const Case cases[] = {
        {"GNOME, with the dark-mode picture too",
         {{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}},
         {"gsettings"},
         WallpaperMode::Scaled,
         {"gsettings set org.gnome.desktop.background picture-uri " + uri,
          "gsettings set org.gnome.desktop.background picture-uri-dark " + uri,
          "gsettings set org.gnome.desktop.background picture-options scaled"}},
        {"Cinnamon",
         {{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}},
         {"gsettings"},
         WallpaperMode::Tiled,
         {"gsettings set org.cinnamon.desktop.background picture-uri " + uri,
          "gsettings set org.cinnamon.desktop.background picture-options wallpaper"}},
        {"MATE takes a plain path",
         {{"XDG_CURRENT_DESKTOP", "MATE"}},
         {"gsettings"},
         WallpaperMode::Stretched,
         {"gsettings set org.mate.background picture-filename " + pic,
          "gsettings set org.mate.background picture-options stretched"}},
        {"sway: the new picture first, the old one ended after",
         {{"SWAYSOCK", "/run/sway.sock"}},
         {"swaybg"},
         WallpaperMode::Centered,
         {"start swaybg -o * -i " + pic + " -m center", "end 0"}},
        {"plain X11 with feh", {{"DISPLAY", ":0"}}, {"feh"}, WallpaperMode::Scaled, {"feh --bg-max " + pic}},
        {"a desktop whose command is missing is passed over",
         {{"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":0"}},
         {"feh"},
         WallpaperMode::Tiled,
         {"feh --bg-tile " + pic}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::FakeEnvironment env;
        for (const auto& [name, value] : c.Env) {
            sys.env.Set(name, value);
        }
        runner.installed = c.Installed;
        runner.ran.clear();
        EXPECT_TRUE(Set(pic, c.Mode));
        EXPECT_EQ(runner.ran, c.Expected);
        for (const auto& [name, value] : c.Env) {
            sys.env.Set(name, "");
        }
        QFile::remove(sys.Home().Home + "swaybg.pid");
    }
}

TEST_F(DesktopBackgroundTest, PlasmaGetsAFreshCopyEachTime) {
    sys.env.Set("XDG_CURRENT_DESKTOP", "KDE");
    runner.installed = {"plasma-apply-wallpaperimage"};
    QString pic = sys.WriteFile(sys.Scratch("Theme User.bmp"), "BM");
    ASSERT_TRUE(Set(pic, WallpaperMode::Stretched));
    ASSERT_TRUE(Set(pic, WallpaperMode::Centered));
    ASSERT_EQ(runner.ran.size(), 2);
    EXPECT_TRUE(runner.ran[0].startsWith("plasma-apply-wallpaperimage -f stretch " + sys.Home().Home +
                                         "plasma-wallpaper-"));
    EXPECT_TRUE(runner.ran[1].startsWith("plasma-apply-wallpaperimage -f pad "));
    EXPECT_EQ(QDir(sys.Home().Home).entryList({"plasma-wallpaper-*"}, QDir::Files).size(),
              1);  // the old copy went
}

TEST_F(DesktopBackgroundTest, XfceSetsEveryBackdropItLists) {
    sys.env.Set("XDG_CURRENT_DESKTOP", "XFCE");
    runner.installed = {"xfconf-query"};
    runner.xfceProperties =
        "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
        "/backdrop/screen0/monitorHDMI-1/workspace0/color-style\n"
        "/backdrop/screen0/monitoreDP-1/workspace1/last-image\n";
    ASSERT_TRUE(Set("/p/x.bmp", WallpaperMode::Tiled));
    EXPECT_EQ(runner.ran.size(), 5);
    EXPECT_EQ(runner.ran[1],
              "xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitorHDMI-1/workspace0/last-image "
              "-n -t string -s /p/x.bmp");
    EXPECT_EQ(runner.ran[2],
              "xfconf-query -c xfce4-desktop -p /backdrop/screen0/monitorHDMI-1/workspace0/image-style "
              "-n -t int -s 2");
}

TEST_F(DesktopBackgroundTest, FailuresFallThroughAndNothingKnownSaysSo) {
    sys.env.Set("XDG_CURRENT_DESKTOP", "GNOME");
    sys.env.Set("DISPLAY", ":0");
    runner.installed = {"gsettings", "feh"};
    runner.failing = {"gsettings"};
    EXPECT_TRUE(Set("/p/x.bmp", WallpaperMode::Centered));
    EXPECT_EQ(runner.ran.last(), "feh --bg-center /p/x.bmp");

    runner.installed.clear();
    EXPECT_FALSE(Set("/p/x.bmp", WallpaperMode::Centered));

    // The system settings say it once on standard error, and go on.
    DesktopBackground desktop(sys.env, runner, sys.events, sys.Home().Home);
    LinuxSystemSettings system(*sys.store, desktop, sys.console);
    system.ParametersInfo(SystemSettings::kSetDeskWallpaper, 0, "/p/x.bmp", {}, 3);
    EXPECT_EQ(sys.console.err.count('\n'), 1);
    EXPECT_TRUE(sys.console.err.contains("/p/x.bmp"));
    system.ParametersInfo(SystemSettings::kSetIconMetrics, 0, "", {}, 3);  // changes nothing on Linux
    EXPECT_EQ(sys.console.err.count('\n'), 1);
}

TEST(WallpaperModes, FollowTheStoredTilingAndStyle) {
    EXPECT_EQ(WallpaperModeOf("1", "2"), WallpaperMode::Tiled);
    EXPECT_EQ(WallpaperModeOf("0", "2"), WallpaperMode::Stretched);
    EXPECT_EQ(WallpaperModeOf("0", "1"), WallpaperMode::Scaled);
    EXPECT_EQ(WallpaperModeOf("0", "0"), WallpaperMode::Centered);
    EXPECT_EQ(WallpaperModeOf("", ""), WallpaperMode::Centered);
}

// GNOME's settings for real, through GSettings' keyfile backend in a folder of the test's own.
TEST(GnomeDesktop, ThePictureLandsInGSettings) {
    if (QStandardPaths::findExecutable("gsettings").isEmpty()) {
        GTEST_SKIP() << "gsettings is not installed";
    }
    QTemporaryDir config;
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    test::FakeEnvironment env;
    env.Set("XDG_CURRENT_DESKTOP", "GNOME");
    test::FakeEventLoop events;
    ProcessRunner runner(config.path());
    DesktopBackground desktop(env, runner, events, config.path() + "/");
    ASSERT_TRUE(desktop.Set("/pictures/Christmas Snow.bmp", WallpaperMode::Stretched));
    QFile keyfile(config.path() + "/glib-2.0/settings/keyfile");
    ASSERT_TRUE(keyfile.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(keyfile.readAll());
    EXPECT_TRUE(text.contains("picture-uri='file:///pictures/Christmas%20Snow.bmp'")) << text.toStdString();
    EXPECT_TRUE(text.contains("picture-options='stretched'")) << text.toStdString();
    qunsetenv("GSETTINGS_BACKEND");
    qunsetenv("XDG_CONFIG_HOME");
}

// The process id in swaybg.pid may belong to anything by now: only a process that we
// started, as that program, is ever ended.
TEST(ProcessRunnerEnd, EndsOnlyWhatItStartedAsThatProgram) {
    const QString sleep = QStandardPaths::findExecutable("sleep");
    ASSERT_FALSE(sleep.isEmpty());
    auto alive = [](qint64 pid) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        // A process that has ended but not been reaped yet shows as a zombie ("Z").
        return stat.open(QIODevice::ReadOnly) && stat.readAll().split(' ').value(2) != "Z";
    };
    ProcessRunner ours("/home/a/.local/share/merivane/");
    ProcessRunner otherHome("/home/b/.local/share/merivane/");
    const qint64 started = ours.StartDetached(sleep, {"30"});
    ASSERT_GT(started, 0);
    QProcess foreign;  // the user's own sleep, which no runner started
    foreign.start(sleep, {"30"});
    ASSERT_TRUE(foreign.waitForStarted());

    EXPECT_TRUE(IsStartedBy(started, "sleep", "/home/a/.local/share/merivane/"));
    EXPECT_FALSE(IsStartedBy(foreign.processId(), "sleep", "/home/a/.local/share/merivane/"));
    EXPECT_FALSE(IsStartedBy(0, "sleep", "x"));
    EXPECT_FALSE(IsStartedBy(999999999, "sleep", "x"));

    ours.End(foreign.processId(), "sleep");
    ours.End(started, "swaybg");  // ours, but not that program
    otherHome.End(started, "sleep");
    QThread::msleep(100);
    EXPECT_TRUE(alive(foreign.processId()));
    EXPECT_TRUE(alive(started));

    ours.End(started, "sleep");
    for (int i = 0; i < 50 && alive(started); ++i) {
        QThread::msleep(20);
    }
    EXPECT_FALSE(alive(started));
    foreign.kill();
    foreign.waitForFinished();
}

}  // namespace
}  // namespace merivane
