#include "apply/Effects.h"

#include "app/Main.h"
#include "apply/ApplyDriver.h"
#include "support/TestPlatform.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// A model desktop of three icons on an 800 x 600 screen, with auto-arrange on.
class EffectsTest : public ::testing::Test {
  protected:
    EffectsTest() {
        sys.PlaceIn(state);
        sys.screen.widthPixels = 800;
        sys.screen.heightPixels = 600;
        sys.shell.iconList = 5;
        sys.shell.autoArrange = true;
        sys.shell.icons = {{10, 20}, {100, 50}, {-5, 7}};
    }
    QString IconFile() const { return sys.Home().Home + "iconloc.dat"; }
    QString Themes() const { return sys.Scratch("themes/"); }
    // A theme in the themes folder with a start-up sound and a start-up logo of its own.
    QString SoundAndLogoTheme(const QString& name) {
        sys.WriteFile(Themes() + "start.wav", "RIFF");
        sys.WriteFile(Themes() + "logo.bmp", "BM");
        return sys.WriteFile(Themes() + name,
                             "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]\r\nDefaultValue=%"
                             "ThemeDir%start.wav\r\n"
                             "[Logos]\r\nStartup= %ThemeDir%logo.bmp \r\n");
    }
    QByteArray Contents(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(EffectsTest, PositionsAreReadSavedAndPutBackAroundAChange) {
    SaveIconPositions(state);  // reads first
    EXPECT_EQ(Contents(IconFile()), "800\t600\r\n10\t20\r\n100\t50\r\n-5\t7\r\n");
    EXPECT_EQ(sys.shell.calls, QStringList{"arrange off"});
    EXPECT_TRUE(state.Icons.AutoArrangeWasOn);

    sys.shell.icons = {{0, 0}, {0, 0}, {0, 0}};  // the theme rearranged them
    sys.shell.calls.clear();
    RestoreIconPositions(state);
    EXPECT_EQ(sys.shell.calls, (QStringList{"set 0 10 20", "set 1 100 50", "set 2 -5 7", "arrange on"}));

    // A desktop that arranged nothing by itself is never switched; the flag, once set, stays.
    sys.shell.autoArrange = false;
    sys.shell.calls.clear();
    ReadIconPositions(state);
    EXPECT_TRUE(state.Icons.AutoArrangeWasOn);
    EXPECT_TRUE(sys.shell.calls.isEmpty());
}

TEST_F(EffectsTest, RestoringFromTheFileScalesToTheScreenAndCountsOnlyLinesWithATab) {
    struct Case {
        const char* Name;
        QByteArray File;
        int Width, Height;
        QStringList Sets;
    };
    const Case cases[] = {
        {"saved at 800 x 600, restored at 1600 x 1200",
         "800\t600\r\n100\t50\r\n",
         1600,
         1200,
         {"set 0 200 100"}},
        {"more lines than icons",
         "800\t600\r\n1\t1\r\n2\t2\r\n3\t3\r\n4\t4\r\n5\t5\r\n",
         800,
         600,
         {"set 0 1 1", "set 1 2 2", "set 2 3 3"}},
        {"lines without a tab, or with the tab first, use no icon",
         "800\t600\r\nnonsense\r\n\t9\r\n7\t8\r\n\r\n9\t10\r\n",
         800,
         600,
         {"set 0 7 8", "set 1 9 10"}},
        {"a screen size line only", "1024\t768\r\n", 800, 600, {}},
        {"a smaller screen: the whole part", "1000\t1000\r\n999\t-999\r\n", 800, 600, {"set 0 799 -599"}},
        {"LF line ends and numbers past 16 bits",
         "800\t600\n70000\t-40000\n5\t6\n",
         800,
         600,
         {"set 0 0 0", "set 1 5 6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        sys.WriteFile(IconFile(), c.File);
        sys.screen.widthPixels = c.Width;
        sys.screen.heightPixels = c.Height;
        state.Icons = DesktopIcons{};
        sys.shell.autoArrange = false;
        sys.shell.calls.clear();
        RestoreIconPositionsFromFile(state);
        EXPECT_EQ(sys.shell.calls, c.Sets);
    }
}

TEST_F(EffectsTest, WithoutAnIconListNothingIsReadSavedOrMoved) {
    sys.shell.iconList = 0;  // every Linux desktop
    SaveIconPositions(state);
    RestoreIconPositions(state);
    sys.WriteFile(IconFile() + ".kept", "x");
    RestoreIconPositionsFromFile(state);
    EXPECT_FALSE(QFile::exists(IconFile()));
    EXPECT_TRUE(sys.shell.calls.isEmpty());
    // "/p" is the same restore.
    sys.shell.iconList = 5;
    sys.WriteFile(IconFile(), "800\t600\r\n30\t40\r\n");
    Program program(sys.Get());
    EXPECT_EQ(Main(program, {"/p"}), kExitOk);
    EXPECT_TRUE(sys.shell.calls.contains("set 0 30 40"));
}

TEST_F(EffectsTest, TheMouseNudgeMovesFiveTimesNeverBelowZeroAndComesBack) {
    sys.pointer.position = QPoint(10, 5);
    // Each step is the whole part of a fraction times 61, minus 30: 0.0 gives -30, 0.99 gives +30.
    sys.random.script = {0.0, 0.0, 0.99, 0.99, 0.5, 0.5, 0.0, 0.99, 0.6, 0.1};
    NudgeMouse(state);
    EXPECT_EQ(sys.pointer.calls, (QStringList{"screensaver", "move 0 0", "move 30 30", "move 30 30",
                                              "move 0 60", "move 6 36", "move 10 5"}));
    EXPECT_EQ(sys.events.calls.filter("pause 250").size(), 5);

    // Where no program may move the pointer, only the screen saver is told.
    sys.pointer.position.reset();
    sys.pointer.calls.clear();
    NudgeMouse(state);
    EXPECT_EQ(sys.pointer.calls, QStringList{"screensaver"});
}

TEST_F(EffectsTest, TheChangeSoundAndLogoComeFromTheWorkingCopy) {
    const QString folder = Themes();
    const QString copy = SoundAndLogoTheme("copy.theme");
    const ChangeRecord record{copy, true, "", 0, 0};
    PlayStartupSound(state, record);
    EXPECT_EQ(sys.sound.played, QStringList{folder + "start.wav"});
    EXPECT_TRUE(sys.events.calls.contains("pause 3000"));
    ShowStartupLogo(state, true, record);
    ShowStartupLogo(state, false, record);
    EXPECT_EQ(sys.logo.calls, (QStringList{"picture " + folder + "logo.bmp", "show", "close"}));

    // A copy elsewhere (in the home) still means the theme's own folder.
    const QString elsewhere = sys.WriteFile(sys.Home().Home + ".copy.theme", Contents(copy));
    sys.sound.played.clear();
    PlayStartupSound(state, ChangeRecord{elsewhere, true, "", 0, 0}, folder);
    EXPECT_EQ(sys.sound.played, QStringList{folder + "start.wav"});

    // A picture's copy holds no such values: no sound, no logo.
    const QString picture = sys.WriteFile(folder + "pic.theme", "\x89PNG\r\n\x1a\n");
    sys.sound.played.clear();
    sys.logo.calls.clear();
    PlayStartupSound(state, ChangeRecord{picture, false, "", 0, 0});
    ShowStartupLogo(state, true, ChangeRecord{picture, false, "", 0, 0});
    EXPECT_TRUE(sys.sound.played.isEmpty());
    EXPECT_TRUE(sys.logo.calls.isEmpty());
}

TEST_F(EffectsTest, TheEffectsRunAroundTheApplyInTheirOrder) {
    const QString folder = Themes();
    const QString theme = SoundAndLogoTheme("Snow.theme");
    state.ThemeOpenCommand = "(none)";
    state.Setup.UseThemeMgrSettings.fill(true);
    state.Setup.PlayChangeSounds = true;
    state.Setup.ShowChangeLogo = true;
    state.Setup.KeepIconPositions = true;
    sys.shell.windows = {{"Shell_TrayWnd", 7}};
    ASSERT_TRUE(ApplyChange(state, ChangeRecord{theme, true, "Regular event", 0, 0}, false).Applied);
    EXPECT_EQ(sys.sound.played.size(), 1);
    EXPECT_EQ(sys.logo.calls, (QStringList{"picture " + folder + "logo.bmp", "show", "close"}));
    // Read (auto-arrange off), the theme's refresh, then the icons put back and arranged again.
    ASSERT_GE(sys.shell.calls.size(), 4);
    EXPECT_EQ(sys.shell.calls.first(), "arrange off");
    EXPECT_EQ(sys.shell.calls[1], "find Shell_TrayWnd");
    EXPECT_EQ(sys.shell.calls.mid(sys.shell.calls.size() - 4),
              (QStringList{"set 0 10 20", "set 1 100 50", "set 2 -5 7", "arrange on"}));
    EXPECT_EQ(Contents(IconFile()), "800\t600\r\n10\t20\r\n100\t50\r\n-5\t7\r\n");

    // The same file again: no sound and no logo, but the logo window is still closed.
    sys.logo.calls.clear();
    sys.sound.played.clear();
    ApplyChange(state, ChangeRecord{theme, true, "Regular event", 0, 0}, false);
    EXPECT_TRUE(sys.sound.played.isEmpty());
    EXPECT_EQ(sys.logo.calls, QStringList{"close"});

    // With every effect off, none runs.
    state.Setup.PlayChangeSounds = state.Setup.ShowChangeLogo = state.Setup.KeepIconPositions = false;
    sys.logo.calls.clear();
    sys.shell.calls.clear();
    ApplyChange(state, ChangeRecord{folder + "start.wav", true, "Regular event", 0, 0}, false);
    EXPECT_TRUE(sys.logo.calls.isEmpty());
    EXPECT_TRUE(sys.shell.calls.filter("arrange").isEmpty());
    EXPECT_TRUE(sys.shell.calls.filter("set ").isEmpty());
}

TEST_F(EffectsTest, DeletingAThemeTakesOnlyItsFilesDirectlyInTheWindowsFolder) {
    const QString windows = sys.Home().WindowsDir;
    sys.WriteFile(windows + "Snow.bmp", "BM");
    sys.WriteFile(windows + "sub/Deep.bmp", "BM");
    sys.WriteFile(windows + "Plain.bmp", "BM");
    const QString outside = sys.WriteFile(sys.Scratch("elsewhere/Far.bmp"), "BM");
    const QString theme = sys.WriteFile(
        sys.Scratch("themes/Snow.theme"),
        "[Control Panel\\Desktop]\r\nWallpaper=%WinDir%Snow.bmp\r\nDeep=%WinDir%sub\\Deep.bmp\r\n"
        "Plain=Plain.bmp\r\nFar=" +
            outside.toUtf8() +
            "\r\nTraversal=%WinDir%..\\..\\..\\elsewhere\\Far.bmp\r\n"
            "Empty=\r\nNoEquals\r\n");
    EXPECT_EQ(DeleteLinkedFiles(state, theme), "");
    EXPECT_FALSE(QFile::exists(windows + "Snow.bmp"));
    EXPECT_TRUE(QFile::exists(windows + "sub/Deep.bmp"));
    EXPECT_TRUE(QFile::exists(windows + "Plain.bmp"));
    EXPECT_TRUE(QFile::exists(outside));

    const QString missing = sys.Scratch("themes/Gone.theme");
    const QString text = DeleteLinkedFiles(state, missing);
    EXPECT_TRUE(text.startsWith("Could not open:\r\n   " + missing + "\r\n\r\n")) << text.toStdString();
}

}  // namespace
}  // namespace merivane
