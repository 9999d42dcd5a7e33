#include "apply/WallpaperTheme.h"

#include "platform/ProfileFile.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class WallpaperThemeTest : public ::testing::Test {
  protected:
    WallpaperThemeTest() {
        sys.PlaceIn(state);
        sys.screen.widthPixels = 1024;
        sys.screen.heightPixels = 768;
    }
    QString Picture(const QString& name, int w, int h, const char* format) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(QColor(30, 120, 200));
        QString path = sys.Scratch(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QString Theme() const { return sys.Home().Home + kWallpaperThemeFileName; }
    QString Desktop(const char* key) const {
        return ProfileFile::ReadString(Theme(), kDesktopSection, key, "?", 512);
    }

    test::TestPlatform sys;
    SettingsState state{sys.Get()};
};

TEST_F(WallpaperThemeTest, TheTemplateIsWrittenWordForWord) {
    WriteWallpaperThemeTemplate(Theme());
    QFile file(Theme());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 137);  // 136 lines, each ended by CR LF
    EXPECT_EQ(lines[0], "[Info]\r");
    EXPECT_EQ(lines[1], ";This Theme was created by Merivane to change wallpaper.\r");
    EXPECT_EQ(lines[2], "\r");
    EXPECT_EQ(lines[59], "TileWallpaper = 0\r");
    EXPECT_EQ(lines[116], "DefaultValue=%WinDir%media\\The Microsoft Sound.wav\r");
    EXPECT_TRUE(lines[127].startsWith("IconMetrics=76 0 0 0 75 0 0 0 75 "));
    EXPECT_TRUE(lines[127].endsWith(" 151 17 63 1 243 21\r"));
    EXPECT_TRUE(lines[128].endsWith(" 0 46 84 104 101 109 101 0 245 64 0 192 221 64 0 0 0 0 0\r"));
    EXPECT_EQ(lines[135], "ThemeColorBPP = 4\r");
    EXPECT_EQ(lines[136], "");
    EXPECT_EQ(ProfileFile::ReadString(Theme(), "Control Panel\\Cursors", "DefaultValue", "", 256),
              "Windows default");
}

TEST_F(WallpaperThemeTest, StyleFollowsThePicturesSizeAndShape) {
    struct Case {
        const char* Name;
        int W, H;
        const char* Tile;
        const char* Style;
    };
    const Case cases[] = {
        {"small: tiled", 320, 240, "1", "0"},
        {"the screen's size: fitted", 1024, 768, "0", "1"},
        {"higher than the screen: fitted", 500, 800, "0", "1"},
        {"nearly the screen's shape: fitted", 800, 620, "0", "1"},
        {"smaller, another shape: centred", 900, 300, "0", "0"},
        {"just over the tiling width, another shape", 348, 100, "0", "0"},
        {"just over the tiling width, the screen's shape", 348, 261, "0", "1"},
    };
    WriteWallpaperThemeTemplate(Theme());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ChooseWallpaperStyle(state, c.W * 15, c.H * 15, Theme());
        EXPECT_EQ(Desktop("TileWallpaper"), c.Tile);
        EXPECT_EQ(Desktop("WallpaperStyle"), c.Style);
    }
}

TEST_F(WallpaperThemeTest, APictureIsEnteredIntoTheThemeWhichIsMadeWhenMissing) {
    // The working copy holds the picture's bytes under a theme's name.
    QString copy = Picture("temp.theme", 320, 240, "JPG");
    PrepareWallpaperTheme(state, ChangeRecord{copy, false, "x", 0, 0});
    EXPECT_EQ(Desktop("Wallpaper"), copy);
    EXPECT_EQ(Desktop("TileWallpaper"), "1");
    EXPECT_EQ(Desktop("Pattern"), "(None)");

    // A picture that cannot be read leaves the theme as it was.
    QString broken = sys.WriteFile(sys.Scratch("broken.jpg"), "not a picture");
    PrepareWallpaperTheme(state, ChangeRecord{broken, false, "x", 0, 0});
    EXPECT_EQ(Desktop("Wallpaper"), copy);

    QFile::remove(Theme());
    QString big = Picture("big.png", 1280, 960, "PNG");
    PrepareWallpaperTheme(state, ChangeRecord{big, false, "x", 0, 0});
    EXPECT_EQ(Desktop("Wallpaper"), big);
    EXPECT_EQ(Desktop("WallpaperStyle"), "1");
    EXPECT_EQ(ProfileFile::ReadString(Theme(), "MasterThemeSelector", "MTSM", "", 256), "DABJDKT");
}

TEST_F(WallpaperThemeTest, ConvertingMakesA24BitBitmapAndSettlesTheStyle) {
    struct Case {
        const char* Name;
        int W, H;
        const char* Tile;
        const char* Style;
        const char* TileAfter;
        const char* StyleAfter;
    };
    const Case cases[] = {
        {"tiled stays tiled", 320, 240, "1", "0", "1", "0"},
        {"larger and of the screen's shape: stretched", 1280, 960, "0", "1", "0", "2"},
        {"larger but another shape: as it was", 1600, 900, "0", "1", "0", "1"},
        {"tiling with a style is not tiling", 320, 240, "1", "1", "0", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QString picture = Picture("p.gif", c.W, c.H, "PNG");  // the name does not tell the format
        QString tile = c.Tile;
        QString style = c.Style;
        QString bitmap = ConvertWallpaper(state, picture, tile, style);
        EXPECT_EQ(bitmap, sys.Home().WindowsDir + "Theme User.bmp");
        EXPECT_EQ(tile, c.TileAfter);
        EXPECT_EQ(style, c.StyleAfter);
        QFile file(bitmap);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray header = file.read(30);
        EXPECT_TRUE(header.startsWith("BM"));
        EXPECT_EQ(static_cast<unsigned char>(header[28]), 24);  // bits per pixel
        QImage back(bitmap);
        EXPECT_EQ(back.size(), QSize(c.W, c.H));
    }
}

TEST_F(WallpaperThemeTest, TheBitmapIsNamedAfterTheUserAndMissingPicturesGiveNothing) {
    RegOp logon(sys.Get());
    logon.SetRoot(RegRoot::LocalMachine);
    logon.SetKey("Network\\Logon");
    logon.SetValue("username", Variant::Text("  Ada  "));
    QString tile = "0";
    QString style = "0";
    EXPECT_EQ(ConvertWallpaper(state, Picture("a.jpg", 10, 10, "JPG"), tile, style),
              sys.Home().WindowsDir + "Theme Ada.bmp");
    EXPECT_EQ(ConvertWallpaper(state, sys.Scratch("gone.jpg"), tile, style), "");
    EXPECT_EQ(ConvertWallpaper(state, "", tile, style), "");
    // An unreadable picture: the path is known, the bitmap of an earlier change stays.
    QString broken = sys.WriteFile(sys.Scratch("broken.bmp"), "BMnot really");
    EXPECT_EQ(ConvertWallpaper(state, broken, tile, style), sys.Home().WindowsDir + "Theme Ada.bmp");
    EXPECT_TRUE(QImage(sys.Home().WindowsDir + "Theme Ada.bmp").width() == 10);
}

}  // namespace
}  // namespace merivane
