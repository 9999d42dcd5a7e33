#include "app/Main.h"
#include "app/Sample.h"

#include "apply/ApplyDriver.h"
#include "platform/ProfileFile.h"
#include "platform/WorkFiles.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// The sample collection in a home of its own, pictures and themes both in use.
class ApplyEndToEndTest : public ::testing::Test {
  protected:
    ApplyEndToEndTest() {
        sys.Home().InstallShippedData(QStringLiteral(MERIVANE_SOURCE_DATA_DIR));
        sys.clock.now = *SerialFromYmd(2026, 12, 24) + 9.0 / 24;
        Program install(sys.Get());
        Main(install, {"/i"});
        MakeSampleCollection(Pictures(), Themes());
        RegOp setup(sys.Get());
        setup.SetKey("Software\\Brennock\\Merivane\\Setup");
        setup.SetValue("FilesToUse", Variant::Integer(1));
        setup.SetValue("WallpaperPath", Variant::Text(Pictures() + "/"));
    }
    QString Pictures() const { return sys.Home().Home + "Pictures"; }
    QString Themes() const { return sys.Home().WindowsDir + "Resources/Themes"; }
    Variant Reg(const QString& key, const QString& name) {
        RegOp reg(sys.Get());
        reg.SetKey(key);
        return reg.Value(name);
    }
    QString Bitmap() const { return sys.Home().WindowsDir + "Theme User.bmp"; }

    test::TestPlatform sys;
};

TEST_F(ApplyEndToEndTest, ChristmasEveShowsTheChristmasPicture) {
    Program program(sys.Get());
    Main(program, {"/n"});
    EXPECT_EQ(Reg("Software\\Brennock\\Merivane\\Stats", "LastFilenameUsed").ToText(),
              Pictures() + "/Christmas Snow.jpg");
    EXPECT_EQ(QImage(Bitmap()).size(), QSize(1280, 800));
    EXPECT_EQ(Reg("Control Panel\\Desktop", "Wallpaper").ToText(), Bitmap());
    EXPECT_EQ(Reg("Control Panel\\Desktop", "TileWallpaper").ToText(), "0");
    EXPECT_EQ(Reg("Control Panel\\Desktop", "WallpaperStyle").ToText(), "1");
    ASSERT_FALSE(sys.system.calls.isEmpty());
    EXPECT_EQ(sys.system.BeforeRefresh(), "info 20 0 " + Bitmap() + " flags 3");
    EXPECT_FALSE(QFile::exists(Pictures() + "/temp.theme"));
}

TEST_F(ApplyEndToEndTest, ApplyingANamedThemeFromTheCommandLine) {
    Program program(sys.Get());
    Main(program, {"/a", "Spring Garden"});
    EXPECT_EQ(Reg("Software\\Brennock\\Merivane\\Stats", "LastChangeReason").ToText(),
              "DOS Command selection");
    EXPECT_TRUE(Reg("Software\\Brennock\\Merivane\\Stats", "LastFilenameUsed")
                    .ToText()
                    .endsWith("Spring Garden.theme"));
    EXPECT_EQ(Reg("Control Panel\\Colors", "ActiveTitle").ToText(), "0 96 0");
    EXPECT_EQ(QImage(Bitmap()).size(), QSize(1280, 800));
    EXPECT_EQ(sys.system.BeforeRefresh(), "info 20 0 " + Bitmap() + " flags 3");
    // The theme file itself is applied: no working copy beside it.
    EXPECT_FALSE(QFile::exists(Themes() + "/temp.theme"));
}

TEST_F(ApplyEndToEndTest, BadFilesAreAppliedAsFarAsTheyGoAndHarmNothing) {
    CalendarState state(sys.Get());
    Program loaded(sys.Get());
    Main(loaded, {"/n"});  // settings and globals of a started program
    auto apply = [&](const QString& file, bool isTheme) {
        sys.system.calls.clear();
        ApplyChange(loaded, ChangeRecord{file, isTheme, "Manual selection", 0, 0}, false);
    };
    const QString odd = sys.Scratch("odd");
    QDir().mkpath(odd);

    // A theme of binary garbage and one with a megabyte value.
    QByteArray garbage;
    for (int i = 0; i < 50000; ++i) {
        garbage += static_cast<char>((i * 131) & 0xFF);
    }
    apply(sys.WriteFile(odd + "/Garbage.theme", garbage), true);
    apply(sys.WriteFile(odd + "/Huge.theme",
                        "[Control Panel\\Desktop]\r\nWallpaper=" + QByteArray(1 << 20, 'x') +
                            "\r\n[Control Panel\\Colors]\r\nMenu=1 2 3\r\n"),
          true);
    EXPECT_TRUE(sys.system.calls.contains("colors 4=197121"));

    // A truncated JPEG and a picture that is not one: recorded, the wallpaper theme unchanged.
    QFile jpeg(Pictures() + "/Christmas Snow.jpg");
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    apply(sys.WriteFile(odd + "/Cut.jpg", jpeg.read(2000)), false);
    apply(sys.WriteFile(odd + "/Fake.jpg", "not a picture at all"), false);
    EXPECT_EQ(loaded.LastChange.FileName, odd + "/Fake.jpg");

    // A name with quotes, a semicolon and $(...) is a name, nothing more.
    const QString strange = odd + "/It's \"$(touch pwned)\"; Snow `x`.jpg";
    QFile::copy(Pictures() + "/Winter Frost.jpg", strange);
    apply(strange, false);
    EXPECT_FALSE(QFile::exists("pwned"));
    EXPECT_EQ(sys.system.BeforeRefresh(), "info 20 0 " + Bitmap() + " flags 3");

    // A file that cannot be copied at all: a clear reason, the change recorded, nothing else
    // harmed, and a multi-wallpaper count that cannot hold today any more.
    loaded.LastChange.WallpapersInTheme = 3;
    const int before = loaded.TotalThemeChanges;
    sys.system.calls.clear();
    ApplyResult gone =
        ApplyChange(loaded, ChangeRecord{odd + "/Gone.theme", true, "Multi-Wallpaper Theme", 0, 3}, false);
    EXPECT_FALSE(gone.Applied);
    EXPECT_TRUE(gone.Why.contains("could not be copied")) << gone.Why.toStdString();
    EXPECT_EQ(loaded.TotalThemeChanges, before + 1);
    EXPECT_EQ(loaded.LastChange.WallpapersInTheme, 1);
    EXPECT_EQ(Reg("Software\\Brennock\\Merivane\\Stats", "WallpapersInTheme").ToInteger(), 1);
    EXPECT_TRUE(sys.system.calls.isEmpty());
}

// The names in a folder that begin with "." (hidden), where a working copy would lie.
QStringList Hidden(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)
        .filter(QRegularExpression("^\\."));
}

TEST_F(ApplyEndToEndTest, TheWorkingCopyIsOursAloneAndLeavesNothingBehind) {
    Program loaded(sys.Get());
    Main(loaded, {"/n"});
    const QString folder = sys.Scratch("mine");
    const QByteArray own = "[Control Panel\\Colors]\r\nMenu=5 5 5\r\n";
    const QString userTemp = sys.WriteFile(folder + "/temp.theme", own);
    const QString theme = sys.WriteFile(folder + "/Snow.theme", "[Control Panel\\Colors]\r\nMenu=1 2 3\r\n");

    // The user's own temp.theme is neither used nor touched, and no copy stays behind.
    sys.system.calls.clear();
    EXPECT_TRUE(ApplyChange(loaded, ChangeRecord{theme, true, "Manual selection", 0, 0}, false).Applied);
    EXPECT_TRUE(sys.system.calls.contains("colors 4=197121"));
    QFile kept(userTemp);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), own);
    EXPECT_TRUE(Hidden(folder).isEmpty()) << Hidden(folder).join(' ').toStdString();

    // Where no copy can be made beside the file (here: the name is taken by a folder), the
    // home holds it, and %ThemeDir% still means the theme's own folder.
    QImage(1024, 768, QImage::Format_RGB32).save(folder + "/Own.bmp", "BMP");
    const QString withPicture =
        sys.WriteFile(folder + "/Pictured.theme",
                      "[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Own.bmp\r\nTileWallpaper=0\r\n");
    QDir().mkpath(folder + "/" + WorkingCopyName() + "/blocked");
    sys.system.calls.clear();
    ApplyResult result =
        ApplyChange(loaded, ChangeRecord{withPicture, true, "Manual selection", 0, 0}, false);
    EXPECT_TRUE(result.Applied) << result.Why.toStdString();
    EXPECT_EQ(QImage(Bitmap()).size(), QSize(1024, 768));
    EXPECT_EQ(sys.system.BeforeRefresh(), "info 20 0 " + Bitmap() + " flags 3");
    EXPECT_TRUE(QFile::exists(folder + "/" + WorkingCopyName() + "/blocked"));
    EXPECT_TRUE(Hidden(sys.Home().Home).filter(WorkingCopyName()).isEmpty());
}

TEST_F(ApplyEndToEndTest, APictureThatCannotBeReadNeverBlanksTheDesktop) {
    Program loaded(sys.Get());
    Main(loaded, {"/n"});  // Christmas Snow.jpg is on the desktop now
    const QString wallpaperTheme = sys.Home().Home + "Wallpaper.theme";
    QFile theme(wallpaperTheme);
    ASSERT_TRUE(theme.open(QIODevice::ReadOnly));
    const QByteArray themeBefore = theme.readAll();
    theme.close();
    const QString odd = sys.Scratch("odd");
    struct Case {
        const char* Name;
        QByteArray Bytes;
    };
    // A PNG header that claims 60000 x 60000 pixels: far past what may be decoded.
    QByteArray giant = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") +
                       QByteArray::fromHex("0000ea600000ea600806000000") + QByteArray(4, '\0');
    const Case cases[] = {
        {"Empty.jpg", QByteArray()},
        {"Text.jpg", "just some words"},
        {"Giant.jpg", giant},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        sys.system.calls.clear();
        const int before = loaded.TotalThemeChanges;
        ApplyResult result = ApplyChange(
            loaded, ChangeRecord{sys.WriteFile(odd + "/" + c.Name, c.Bytes), false, "Manual selection", 0, 0},
            false);
        EXPECT_FALSE(result.Applied);
        EXPECT_TRUE(result.Why.contains("cannot be read as a picture")) << result.Why.toStdString();
        EXPECT_TRUE(sys.system.calls.filter("info 20 ").isEmpty())
            << sys.system.calls.join('|').toStdString();
        EXPECT_EQ(loaded.TotalThemeChanges, before + 1);  // recorded: a sequential turn moves on
        ASSERT_TRUE(theme.open(QIODevice::ReadOnly));
        EXPECT_EQ(theme.readAll(), themeBefore);
        theme.close();
        EXPECT_TRUE(Hidden(odd).isEmpty());
    }
    EXPECT_EQ(Reg("Control Panel\\Desktop", "Wallpaper").ToText(), Bitmap());
}

}  // namespace
}  // namespace merivane
