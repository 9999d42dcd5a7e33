#include "settings/Associations.h"

#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class AssociationsTest : public ::testing::Test {
  protected:
    void SetDefault(RegRoot root, const QString& key, const QString& value) {
        RegOp reg(sys.Get());
        reg.SetRoot(root);
        reg.SetKey(key);
        reg.SetValue(QString(), Variant::Text(value));
    }
    // Makes `count` theme files in a folder of the C: drive.
    void Themes(const QString& folder, int count) {
        for (int i = 0; i < count; ++i) {
            sys.WriteFile(sys.Home().DriveC + folder + QStringLiteral("/t%1.theme").arg(i));
        }
        QDir().mkpath(sys.Home().DriveC + folder);
    }

    test::TestPlatform sys;
};

TEST_F(AssociationsTest, FileTypeOfAnExtension) {
    EXPECT_EQ(FindFileType(sys.Get(), ".theme"), "(none)");
    SetDefault(RegRoot::ClassesRoot, ".theme", "ThemeFile");
    EXPECT_EQ(FindFileType(sys.Get(), ".THEME"), "ThemeFile");
}

TEST_F(AssociationsTest, OpenCommandGivesTheProgramOfTheRegisteredCommand) {
    sys.WriteFile(sys.Home().DriveC + "Program Files/Desktop Architect/da.exe");
    sys.WriteFile(sys.Home().DriveC + "Plus/Themes.exe");
    struct Case {
        const char* Name;
        QString Command;
        QString Expected;
    };
    const Case cases[] = {
        {"quoted path then %1", R"("C:\Program Files\Desktop Architect\da.exe" "%1")",
         R"(C:\Program Files\Desktop Architect\da.exe)"},
        {"unquoted path, blank, %1", R"(C:\Plus\Themes.exe %1)", R"(C:\Plus\Themes.exe)"},
        {"unquoted path, blank, quoted %1", R"(C:\Plus\Themes.exe "%1")", R"(C:\Plus\Themes.exe)"},
        {"letter case of the path does not matter", R"(c:\plus\THEMES.EXE %1)", R"(c:\plus\THEMES.EXE)"},
        {"arguments before %1 stay in the name, which then names no file", R"(C:\Plus\Themes.exe /s "%1")",
         ""},
        {"a missing program gives the empty text", R"("C:\Gone\x.exe" "%1")", ""},
        {"only a program, no %1", R"(C:\Plus\Themes.exe)", R"(C:\Plus\Themes.exe)"},
        {"a folder is no program", R"("C:\Plus" "%1")", ""},
        {"another drive maps nowhere", R"("D:\Plus\Themes.exe" "%1")", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        SetDefault(RegRoot::ClassesRoot, R"(.theme\shell\open\command)", c.Command);
        EXPECT_EQ(FindOpenCommand(sys.Get(), ".theme"), c.Expected);
    }
}

TEST_F(AssociationsTest, OpenCommandFallsBackToTheFileTypesCommand) {
    EXPECT_EQ(FindOpenCommand(sys.Get(), ".theme"), "(none)");
    sys.WriteFile(sys.Home().WindowsDir + "notepad.exe");
    SetDefault(RegRoot::ClassesRoot, ".txt", "txtfile");
    SetDefault(RegRoot::ClassesRoot, R"(txtfile\shell\open\command)", R"(C:\WINDOWS\NOTEPAD.EXE %1)");
    EXPECT_EQ(FindOpenCommand(sys.Get(), ".TXT"), R"(C:\WINDOWS\NOTEPAD.EXE)");
}

TEST_F(AssociationsTest, SearchFindsTheFolderWithMostThemes) {
    Themes("Themes", 1);
    Themes("Themes/Holidays", 3);
    Themes("Themes/Holidays/Winter", 2);
    Themes("Themes/Seasons", 3);  // a tie with Holidays: the one found first stays
    auto [count, folder] = SearchThemeFolder(sys.Get(), R"(C:\themes\)");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(folder, sys.Home().DriveC + "Themes/Holidays/");
}

TEST_F(AssociationsTest, SearchKeepsTheParentOnATie) {
    Themes("Themes", 2);
    Themes("Themes/More", 2);
    auto [count, folder] = SearchThemeFolder(sys.Get(), sys.Home().DriveC + "Themes");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(folder, sys.Home().DriveC + "Themes/");
}

TEST_F(AssociationsTest, SearchSkipsEveryPathWithTemp) {
    Themes("Themes", 1);
    Themes("Themes/Temp", 5);
    Themes("Themes/templates", 4);
    Themes("Themes/Attempt", 3);  // "\temp" must begin a name
    auto [count, folder] = SearchThemeFolder(sys.Get(), R"(C:\Themes)");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(folder, sys.Home().DriveC + "Themes/Attempt/");
    EXPECT_EQ(SearchThemeFolder(sys.Get(), R"(C:\Themes\Temp\)").second, "");
}

TEST_F(AssociationsTest, SearchCountsOnlyThemeFilesAndLetsEventsRun) {
    sys.WriteFile(sys.Home().DriveC + "Mixed/a.THEME");
    sys.WriteFile(sys.Home().DriveC + "Mixed/b.theme.bak");
    sys.WriteFile(sys.Home().DriveC + "Mixed/c.jpg");
    sys.WriteFile(sys.Home().DriveC + "Mixed/.hidden.theme");
    QDir().mkpath(sys.Home().DriveC + "Mixed/Sub1");
    QDir().mkpath(sys.Home().DriveC + "Mixed/Sub2");
    auto [count, folder] = SearchThemeFolder(sys.Get(), R"(C:\Mixed)");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(sys.events.calls, (QStringList{"events", "events"}));  // one per subfolder
}

TEST_F(AssociationsTest, SearchEndsOnALinkLoopAndOnMissingFolders) {
    Themes("Loop", 1);
    ASSERT_TRUE(QFile::link(sys.Home().DriveC + "Loop", sys.Home().DriveC + "Loop/again"));
    auto [count, folder] = SearchThemeFolder(sys.Get(), R"(C:\Loop)");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(SearchThemeFolder(sys.Get(), R"(C:\Nowhere\)"), std::make_pair(0, QString()));
}

TEST_F(AssociationsTest, ThemeFolderFollowsTheManagerThenSearches) {
    SettingsState state(sys.Get());
    state.WindowsDir = sys.Home().WindowsDir;
    state.WindowsVersion = 5;
    state.ThemeOpenCommand = "(none)";
    // Nothing registered: the usual folder, which the home has from the start.
    EXPECT_EQ(FindThemeFolder(state), sys.Home().WindowsDir + "Resources/Themes/");

    SetDefault(RegRoot::CurrentUser, R"(Software\Microsoft\Plus!\Themes\Current)",
               R"(C:\Mine\Current.theme)");
    EXPECT_EQ(FindThemeFolder(state), R"(C:\Mine\)");

    state.ThemeOpenCommand = R"(C:\Program Files\Desktop Architect\DA.EXE)";
    RegOp reg(sys.Get());
    reg.SetKey(R"(Software\Desktop Architect\Settings)");
    reg.SetValue("ThemeDir", Variant::Text(R"(C:\DA Themes\)"));
    EXPECT_EQ(FindThemeFolder(state), R"(C:\DA Themes\)");
}

TEST_F(AssociationsTest, OlderSystemsSearchThePlusFolderThenTheWholeDrive) {
    SettingsState state(sys.Get());
    state.WindowsDir = sys.Home().WindowsDir;
    state.WindowsVersion = 2;
    state.ThemeOpenCommand = "(none)";
    Themes("Program Files/Plus!/Themes/Sets", 2);
    EXPECT_EQ(FindThemeFolder(state), sys.Home().DriveC + "Program Files/Plus!/Themes/Sets/");

    QDir(sys.Home().DriveC + "Program Files").removeRecursively();
    Themes("Elsewhere", 1);
    EXPECT_EQ(FindThemeFolder(state), sys.Home().DriveC + "Elsewhere/");
}

}  // namespace
}  // namespace merivane
