#include "app/Main.h"
#include "app/Sample.h"

#include "apply/ApplyDriver.h"
#include "platform/ProfileFile.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QImage>

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
    EXPECT_EQ(sys.system.calls.last(), "info 20 0 " + Bitmap() + " flags 3");
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
    EXPECT_EQ(sys.system.calls.last(), "info 20 0 " + Bitmap() + " flags 3");
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
    EXPECT_EQ(sys.system.calls.last(), "info 20 0 " + Bitmap() + " flags 3");

    // The working copy cannot be made: a clear message, the change recorded, nothing else harmed.
    QDir().mkpath(odd + "/temp.theme/blocked");
    const int before = loaded.TotalThemeChanges;
    apply(sys.WriteFile(odd + "/Blocked.theme", "[Control Panel\\Colors]\r\nMenu=9 9 9\r\n"), true);
    EXPECT_EQ(loaded.TotalThemeChanges, before + 1);
    EXPECT_TRUE(sys.console.err.contains("could not be copied"));
    EXPECT_TRUE(sys.system.calls.isEmpty());
    EXPECT_TRUE(QFile::exists(odd + "/temp.theme/blocked"));
}

}  // namespace
}  // namespace merivane
