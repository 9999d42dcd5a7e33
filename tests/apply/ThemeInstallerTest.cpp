#include "apply/ThemeInstaller.h"

#include "apply/WallpaperTheme.h"
#include "platform/ProfileFile.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class ThemeInstallerTest : public ::testing::Test {
  protected:
    ThemeInstallerTest() {
        sys.PlaceIn(state);
        state.Setup.UseThemeMgrSettings.fill(true);
    }
    QString Theme(const QByteArray& text) { return sys.WriteFile(sys.Scratch("themes/Winter.theme"), text); }
    void Picture(const QString& name, int w, int h) {
        QImage picture(w, h, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QDir().mkpath(sys.Scratch("themes"));
        ASSERT_TRUE(picture.save(sys.Scratch("themes/") + name));
    }
    Variant Reg(const QString& key, const QString& name) {
        RegOp reg(sys.Get());
        reg.SetKey(key);
        return reg.Value(name);
    }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(ThemeInstallerTest, ColoursGoToTheStoreAndTheSystemOnlyWhenTheyChange) {
    QString theme =
        Theme("[Control Panel\\Colors]\r\nActiveTitle=0 0 128\r\nBackground=0 128\r\nWindow=300 0 1\r\n");
    ApplyColors(state, sys.Scratch("themes/"), "Winter.theme");
    EXPECT_EQ(sys.system.calls,
              QStringList{"colors 1=0 2=8388608 5=65791"});  // two numbers: black; 300 is 255
    EXPECT_EQ(Reg("Control Panel\\Colors", "ActiveTitle").ToText(), "0 0 128");
    EXPECT_EQ(Reg("Control Panel\\Colors", "Scrollbar").ToText(), "");  // empty values are written too
    sys.system.calls.clear();
    ApplyColors(state, sys.Scratch("themes/"), "Winter.theme");
    EXPECT_TRUE(sys.system.calls.isEmpty());  // nothing changed: no call
    (void)theme;
}

TEST_F(ThemeInstallerTest, Windows95LeavesTheLaterColoursAndPointersAlone) {
    Theme(
        "[Control Panel\\Colors]\r\nHotTrackingColor=1 2 3\r\nInfoWindow=4 5 6\r\n"
        "[Control Panel\\Cursors]\r\nHand=%ThemeDir%hand.cur\r\nArrow=%ThemeDir%arrow.cur\r\n");
    state.WindowsVersion = 0;
    ApplyColors(state, sys.Scratch("themes/"), "Winter.theme");
    ApplyCursors(state, sys.Scratch("themes/"), "Winter.theme");
    EXPECT_EQ(sys.system.calls,
              (QStringList{"colors 24=394500", "cursor 32512 " + sys.Scratch("themes/arrow.cur")}));
    EXPECT_TRUE(Reg("Control Panel\\Cursors", "Hand").IsEmpty());
}

TEST_F(ThemeInstallerTest, PointersChangeOnlyWhenTheStoreHoldsSomethingElse) {
    Theme("[Control Panel\\Cursors]\r\nArrow=%ThemeDir%arrow.cur\r\nWait=\r\n");
    RegOp cursors(sys.Get());
    cursors.SetKey("Control Panel\\Cursors");
    cursors.SetValue("Wait", Variant::Text("C:\\old\\busy.ani"));
    cursors.SetValue("Help", Variant::Text(""));
    ApplyCursors(state, sys.Scratch("themes/"), "Winter.theme");
    // Arrow: new file; Wait: back to the system's own; Help and the rest: already empty, untouched.
    EXPECT_EQ(sys.system.calls,
              (QStringList{"cursor 32512 " + sys.Scratch("themes/arrow.cur"), "cursor 32514 "}));
}

TEST_F(ThemeInstallerTest, MetricsPassTheirBytesAndWaitForTheDesktop) {
    Theme("[Metrics]\r\nIconMetrics=76 0 0 0 75 0 300 x\r\n");
    ApplyMetrics(state, sys.Scratch("themes/"), "Winter.theme");
    EXPECT_EQ(sys.system.calls, (QStringList{"info 46 8 4c 00 00 00 4b 00 ff 00 flags 3", "wait 2000",
                                             "info 42 0 flags 3", "wait 2000"}));
    EXPECT_EQ(sys.events.calls, (QStringList{"events", "events"}));
    EXPECT_EQ(ParseMetrics("").size(), 0);
    EXPECT_EQ(ParseMetrics(QString("1 ").repeated(600)).size(), 501);
}

TEST_F(ThemeInstallerTest, TheDesktopGroupConvertsTheWallpaperAndTellsTheDesktop) {
    Picture("Snow.jpg", 1280, 960);
    sys.WriteFile(sys.Home().SystemDir + "snow.scr", "saver");
    QString theme = Theme(
        "[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Snow.jpg\r\nTileWallpaper=0\r\nWallpaperStyle=1\r\n"
        "Pattern=(None)\r\nScreenSaveActive=1\r\n[Boot]\r\nSCRNSAVE.EXE=%SysDir%snow.scr\r\n");
    sys.screen.widthPixels = 1024;
    sys.screen.heightPixels = 768;
    ApplyThemeFile(state, theme);
    const QString bitmap = sys.Home().WindowsDir + "Theme User.bmp";
    EXPECT_EQ(sys.system.calls,
              (QStringList{"info 46 0 flags 3", "wait 2000", "info 42 0 flags 3", "wait 2000",
                           "info 17 1 flags 3", "info 20 0 " + bitmap + " flags 3",
                           // the refresh that ends every theme
                           "info 88 0 flags 3", "wait 2000"}));
    EXPECT_EQ(Reg("Control Panel\\Desktop", "Wallpaper").ToText(), bitmap);
    EXPECT_EQ(Reg("Control Panel\\Desktop", "WallpaperStyle").ToText(), "2");  // larger, the screen's shape
    EXPECT_EQ(Reg("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "TileWallpaper").ToText(), "0");
    EXPECT_EQ(Reg("Control Panel\\Desktop", "SCRNSAVE.EXE").ToText(), sys.Home().SystemDir + "snow.scr");
    EXPECT_EQ(ProfileFile::ReadString(sys.Home().WindowsDir + "SYSTEM.INI", "boot", "SCRNSAVE.EXE", "?", 256),
              sys.Home().SystemDir + "snow.scr");
}

TEST_F(ThemeInstallerTest, WithEveryGroupOffOnlyTheWallpaperIsConverted) {
    state.Setup.UseThemeMgrSettings.fill(false);
    Picture("Tile.bmp", 64, 64);
    ApplyThemeFile(state, Theme("[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Tile.bmp\r\n"
                                "[Control Panel\\Colors]\r\nMenu=1 2 3\r\n"));
    EXPECT_EQ(sys.system.calls, (QStringList{"info 88 0 flags 3", "wait 2000"}));  // the refresh alone
    EXPECT_TRUE(QFile::exists(sys.Home().WindowsDir + "Theme User.bmp"));
    EXPECT_TRUE(Reg("Control Panel\\Desktop", "Wallpaper").IsEmpty());
}

TEST_F(ThemeInstallerTest, AMissingScreenSaverSwitchesItOff) {
    ApplyScreenSaver(state, "  C:\\WINDOWS\\SYSTEM\\gone.scr ");
    EXPECT_EQ(sys.system.calls, QStringList{"info 17 0 flags 3"});
    EXPECT_EQ(ProfileFile::ReadString(sys.Home().WindowsDir + "SYSTEM.INI", "Boot", "SCRNSAVE.EXE", "?", 256),
              "");
    EXPECT_EQ(Reg("Control Panel\\Desktop", "SCRNSAVE.EXE").ToText(), "");
}

}  // namespace
}  // namespace merivane
