#include "apply/ApplyDriver.h"
#include "apply/OtherPicture.h"
#include "apply/ThemeManagers.h"

#include "apply/WallpaperTheme.h"
#include "platform/ProfileFile.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class ApplyDriverTest : public ::testing::Test {
  protected:
    ApplyDriverTest() {
        sys.PlaceIn(state);
        state.ThemeOpenCommand = "(none)";
        state.Setup.UseThemeMgrSettings.fill(true);
        state.Setup.UseOtherPics = true;
        state.Setup.UseThemeSubfolders = true;
        state.Setup.ThemePath = sys.Scratch("themes/");
        sys.screen.widthPixels = 800;
        sys.screen.heightPixels = 600;
        sys.processes.clock = &sys.clock;
    }
    QString Folder() const { return sys.Scratch("themes/Winter/"); }
    void Picture(const QString& name, int w, int h) {
        QDir().mkpath(Folder());
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        ASSERT_TRUE(image.save(Folder() + name, "BMP"));
    }
    QString Theme(const QByteArray& text) { return sys.WriteFile(Folder() + "Winter.theme", text); }
    QString CopyWallpaper() {
        return ProfileFile::ReadString(Folder() + "temp.theme", kDesktopSection, "Wallpaper", "", 512);
    }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(ApplyDriverTest, AnotherPictureOfTheThemesFolderBigEnoughForTheScreen) {
    Picture("Snow.bmp", 800, 600);
    Picture("Small.bmp", 320, 200);
    Picture("Ice.bmp", 796, 596);  // within the 5-pixel slack
    Picture("wvlogo.bmp", 800, 600);
    Picture("Logo.bmp", 800, 600);
    // Logos are named by their file name (a value without a folder names no file to drop).
    Theme(
        "[Control "
        "Panel\\Desktop]\r\nWallpaper=%ThemeDir%Snow.bmp\r\n[Logos]\r\nStartup=C:\\Themes\\LOGO.BMP\r\n");
    QFile::copy(Folder() + "Winter.theme", Folder() + "temp.theme");
    sys.random.script = {0.99, 0.0, 0.0};  // the small one is refused, removed; then another
    std::int16_t count = PickOtherPicture(state, ChangeRecord{Folder() + "temp.theme", true, "", 0, 0});
    EXPECT_EQ(count, 3);  // Snow, Small, Ice: the logo and the folder background are not wallpapers
    QString chosen = CopyWallpaper();
    EXPECT_TRUE(chosen == "%ThemeDir%Snow.bmp" || chosen == "%ThemeDir%Ice.bmp") << chosen.toStdString();
    EXPECT_EQ(ProfileFile::ReadString(Folder() + "temp.theme", kDesktopSection, "WallpaperStyle", "", 256),
              "1");
}

TEST_F(ApplyDriverTest, TheOtherPictureStepStopsWithoutAChange) {
    struct Case {
        const char* Name;
        QByteArray Desktop;
        std::int16_t Count;
    };
    Picture("Snow.bmp", 800, 600);
    Picture("Rain.bmp", 800, 600);
    QDir().mkpath(sys.Scratch("elsewhere"));
    const Case cases[] = {
        {"a tiled wallpaper", "Wallpaper=%ThemeDir%Snow.bmp\r\nTileWallpaper=1", 1},
        {"a web page", "Wallpaper=%ThemeDir%page.htm", 1},
        {"a wallpaper outside the theme's folder", "Wallpaper=" + sys.Scratch("elsewhere/x.bmp").toUtf8(), 1},
        {"a missing folder", "Wallpaper=%ThemeDir%gone\\x.bmp", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Theme("[Control Panel\\Desktop]\r\n" + c.Desktop + "\r\n");
        QFile::remove(Folder() + "temp.theme");
        QFile::copy(Folder() + "Winter.theme", Folder() + "temp.theme");
        QByteArray before =
            QFile(Folder() + "temp.theme").open(QIODevice::ReadOnly) ? QByteArray() : QByteArray();
        EXPECT_EQ(PickOtherPicture(state, ChangeRecord{Folder() + "temp.theme", true, "", 0, 0}), c.Count);
        QFile copy(Folder() + "temp.theme");
        copy.open(QIODevice::ReadOnly);
        EXPECT_FALSE(copy.readAll().contains("WallpaperStyle"));  // not written
    }
    // A wallpaper directly in the theme folder setting keeps its wallpaper too.
    state.Setup.ThemePath = Folder();
    Theme("[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Snow.bmp\r\n");
    EXPECT_EQ(PickOtherPicture(state, ChangeRecord{Folder() + "Winter.theme", true, "", 0, 0}), 1);
}

TEST_F(ApplyDriverTest, SpecialPicturesAndTimeWords) {
    QString theme =
        Theme("[Logos]\r\nStartup=C:\\x\\Boot.BMP\r\nWait=\r\n[Webview]\r\nWVLINE.GIF=C:\\x\\line.gif\r\n");
    QStringList pictures{"boot.bmp",      "Line.gif",      "Sea.jpg",
                         "my wvleft.bmp", "Night sky.jpg", "Sea evening.jpg"};
    DropSpecialPictures(pictures, theme);
    pictures.sort();
    EXPECT_EQ(pictures, (QStringList{"Night sky.jpg", "Sea evening.jpg", "Sea.jpg"}));
    state.Setup.ChangesPerDay = 2;
    state.Setup.UseTimeInTitle = true;
    sys.clock.now = 46365 + 10.0 / 24;
    FilterPicturesByTime(state, pictures);
    pictures.sort();
    // A name is searched with a blank before it: "Night" at its start counts; "evening." does not.
    EXPECT_EQ(pictures, (QStringList{"Sea evening.jpg", "Sea.jpg"}));
}

TEST_F(ApplyDriverTest, ThemeManagersByTheirSwitchesAndTheMethod) {
    EXPECT_EQ(ThemeManagerSwitch(R"(C:\Program Files\Desktop Architect\DA.EXE)"), " -a ");
    EXPECT_EQ(ThemeManagerSwitch(R"(C:\Plus\Themes.exe)"), " /s ");
    EXPECT_EQ(ThemeManagerSwitch(R"(C:\DT\Desktop Themes.exe)"), " /s ");
    EXPECT_EQ(ThemeManagerSwitch("/usr/bin/other"), " ");

    QString theme = Theme("[Control Panel\\Colors]\r\nMenu=1 2 3\r\n");
    ChangeRecord copy{theme, true, "", 0, 0};
    struct Case {
        const char* Name;
        QString Manager;
        std::int16_t Method;
        bool Started;
        bool Installed;
    };
    const Case cases[] = {
        {"manager only", R"(C:\Plus\Themes.exe)", 0, true, false},
        {"own installer only", R"(C:\Plus\Themes.exe)", 1, false, true},
        {"both, the manager first", R"(C:\Plus\Themes.exe)", 2, true, true},
        {"no manager registered", "(none)", 0, false, true},
        {"a registered program that is gone", "", 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        sys.processes.started.clear();
        sys.system.calls.clear();
        RegOp colors(sys.Get());
        colors.SetKey("Control Panel\\Colors");
        colors.SetValue("Menu", Variant::Text(""));
        state.ThemeOpenCommand = c.Manager;
        state.Setup.UseThemeChanger = c.Method;
        RunThemeChange(state, copy, false);
        ASSERT_EQ(sys.processes.started.size(), c.Started ? 1u : 0u);
        if (c.Started) {
            EXPECT_EQ(sys.processes.started[0].CommandLine, R"(C:\Plus\Themes.exe /s ")" + theme + "\"");
        }
        EXPECT_EQ(sys.system.calls.contains("colors 4=197121"), c.Installed);
    }
}

TEST_F(ApplyDriverTest, AManagerThatTakesTooLongIsEnded) {
    ShellJob job;
    job.CommandLine = "slow.exe x";
    job.TimeOut = 3000;
    sys.processes.waits = std::deque<bool>(10, false);
    RunAndWait(state, job);
    EXPECT_TRUE(job.TimedOut);
    EXPECT_EQ(sys.processes.terminated, std::vector<qint64>{42});
    EXPECT_EQ(sys.events.calls.size(), 3);  // events ran about once a second
    EXPECT_NEAR(job.ElapsedTime * 86400, 3, 0.01);

    ShellJob quick;
    quick.CommandLine = "quick.exe";
    quick.TimeOut = kThemeManagerTimeOutMs;
    sys.processes.waits = {false, true};
    sys.processes.terminated.clear();
    RunAndWait(state, quick);
    EXPECT_FALSE(quick.TimedOut);
    EXPECT_TRUE(sys.processes.terminated.empty());

    ShellJob broken;
    broken.CommandLine = "missing.exe";
    sys.processes.startSucceeds = false;
    RunAndWait(state, broken);  // a command that cannot start ends the wait at once
    EXPECT_FALSE(broken.TimedOut);
}

TEST_F(ApplyDriverTest, ApplyingRecordsWorksOnACopyAndDeletesIt) {
    Picture("Snow.bmp", 800, 600);
    Picture("Rain.bmp", 800, 600);
    QString theme = Theme("[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Snow.bmp\r\nTileWallpaper=0\r\n");
    state.Setup.AutoMouseMove = true;
    sys.system.screenSaverRunning = 1;
    ApplyChange(state, ChangeRecord{theme, true, "Regular event", 0, 0}, false);
    EXPECT_EQ(state.LastChange.FileName, theme);
    EXPECT_EQ(state.LastChange.WallpapersInTheme, 2);
    EXPECT_EQ(state.TotalThemeChanges, 1);
    EXPECT_FALSE(QFile::exists(Folder() + "temp.theme"));
    ASSERT_FALSE(sys.system.calls.isEmpty());
    EXPECT_EQ(sys.system.calls.first(), "info 114 0 flags 0");  // is a screen saver running?
    EXPECT_TRUE(
        sys.system.BeforeRefresh().startsWith("info 20 0 " + sys.Home().WindowsDir + "Theme User.bmp"));
    RegOp stats(sys.Get());
    stats.SetKey("Software\\Brennock\\Merivane\\Stats");
    EXPECT_EQ(stats.Value("WallpapersInTheme"), Variant::Long(2));

    // A picture goes through the wallpaper theme.
    sys.system.calls.clear();
    ApplyChange(state, ChangeRecord{Folder() + "Rain.bmp", false, "Regular event", 0, 0}, false);
    EXPECT_EQ(state.LastChange.WallpapersInTheme, 1);
    EXPECT_EQ(state.PreviousChange.FileName, theme);
    EXPECT_TRUE(QFile::exists(sys.Home().Home + "Wallpaper.theme"));
    EXPECT_TRUE(
        sys.system.BeforeRefresh().startsWith("info 20 0 " + sys.Home().WindowsDir + "Theme User.bmp"));
    EXPECT_FALSE(QFile::exists(Folder() + "temp.theme"));

    // A file that is gone is recorded, reported and not applied.
    sys.system.calls.clear();
    ApplyResult gone =
        ApplyChange(state, ChangeRecord{Folder() + "Gone.theme", true, "Regular event", 0, 0}, false);
    EXPECT_EQ(state.TotalThemeChanges, 3);
    EXPECT_TRUE(sys.system.calls.isEmpty());
    EXPECT_FALSE(gone.Applied);
    EXPECT_TRUE(gone.Why.contains("Gone.theme"));
}

// The wallpaper theme is found without regard to case when it is written, and the same file
// is applied: a "wallpaper.theme" of the home's own gets the picture, and shows it.
TEST_F(ApplyDriverTest, AWallpaperThemeOfAnotherCaseIsTheOneWrittenAndApplied) {
    const QString lower = sys.Home().Home + "wallpaper.theme";
    WriteWallpaperThemeTemplate(lower);
    Picture("Rain.bmp", 800, 600);
    ApplyResult result =
        ApplyChange(state, ChangeRecord{Folder() + "Rain.bmp", false, "Regular event", 0, 0}, false);
    EXPECT_TRUE(result.Applied) << result.Why.toStdString();
    EXPECT_FALSE(QFile::exists(sys.Home().Home + "Wallpaper.theme"));
    ASSERT_FALSE(sys.system.calls.isEmpty());
    EXPECT_EQ(sys.system.BeforeRefresh(), "info 20 0 " + sys.Home().WindowsDir + "Theme User.bmp flags 3");
    EXPECT_EQ(QImage(sys.Home().WindowsDir + "Theme User.bmp").size(), QSize(800, 600));
}

}  // namespace
}  // namespace merivane
