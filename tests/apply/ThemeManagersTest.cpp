#include "apply/ThemeManagers.h"

#include "settings/Associations.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

class ThemeManagersTest : public ::testing::Test {
  protected:
    ThemeManagersTest() { sys.PlaceIn(state); }
    QString Classes(const QString& key) {
        RegOp reg(sys.Get());
        reg.SetRoot(RegRoot::ClassesRoot);
        reg.SetKey(key);
        return reg.Value(QString()).ToText();
    }
    // Installs a known manager's program file on the virtual drive.
    void Install(const ThemeManagerRow& row) { sys.WriteFile(sys.Home().DriveC + Relative(row), "MZ"); }
    static QString Relative(const ThemeManagerRow& row) {
        return QString(row.Folder + row.Program).mid(3).replace(u'\\', u'/');
    }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(ThemeManagersTest, TheKnownManagersInTheirOrder) {
    const auto& rows = KnownThemeManagers();
    ASSERT_EQ(rows.size(), 5u);
    const char* const names[] = {"DesktopArchitect", "DesktopThemes", "ThemeCrafter", "Windows 98/Plus!",
                                 "XThemeManager"};
    const char* const programs[] = {"da.exe", "Desktop Themes.exe", "ThemeCrafter.exe", "Themes.exe",
                                    "xtm.exe"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[i].Name, names[i]);
        EXPECT_EQ(rows[i].Program, programs[i]);
        EXPECT_TRUE(rows[i].Folder.endsWith('\\'));
    }
    EXPECT_EQ(rows[3].Folder, "c:\\Program Files\\Plus!\\");
}

TEST_F(ThemeManagersTest, TheListingShowsInstalledManagersAndTheCurrentOne) {
    const auto& known = KnownThemeManagers();
    Install(known[0]);
    Install(known[3]);
    struct Case {
        const char* Command;
        std::vector<QString> Names;
        int Current;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Plus!\\THEMES.EXE", {"DesktopArchitect", "Windows 98/Plus!"}, 1},
        {"c:\\program files\\desktop architect\\da.exe", {"DesktopArchitect", "Windows 98/Plus!"}, 0},
        // None of the listed ones: the registered type and command make a row of their own.
        {"/usr/bin/other-manager", {"DesktopArchitect", "Windows 98/Plus!", "Other.Type"}, 2},
        {"(none)", {"DesktopArchitect", "Windows 98/Plus!", "Other.Type"}, 2},
    };
    state.ThemeFileType = "Other.Type";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Command);
        state.ThemeOpenCommand = c.Command;
        const ThemeManagerListing listing = ListThemeManagers(state);
        std::vector<QString> names;
        for (const auto& row : listing.Rows) {
            names.push_back(row.Name);
        }
        EXPECT_EQ(names, c.Names);
        EXPECT_EQ(listing.Current, c.Current);
    }
    EXPECT_EQ(ListThemeManagers(state).Rows.back().Program, "(none)");
}

TEST_F(ThemeManagersTest, SettingAManagerMakesItTheHandlerOfThemeFiles) {
    const QString program = sys.WriteFile(sys.Home().DriveC + "Program Files/Plus!/Themes.exe", "MZ");
    // A file type whose key holds subkeys is used as it is.
    {
        RegOp reg(sys.Get());
        reg.SetRoot(RegRoot::ClassesRoot);
        reg.SetKey("Plus.Themes\\shell\\open\\command");
        reg.SetValue(QString(), Variant::Text("old"));
    }
    SetThemeManager(state, "Plus.Themes", program);
    EXPECT_EQ(state.ThemeFileType, "Plus.Themes");
    EXPECT_EQ(state.ThemeOpenCommand, program);
    EXPECT_EQ(Classes(".theme"), "Plus.Themes");
    EXPECT_EQ(Classes("Plus.Themes\\shell\\open\\command"), "\"" + program + "\"  \"%1\"");
    EXPECT_FALSE(sys.store->KeyExists(RegRoot::ClassesRoot, "ThemeFile"));
    EXPECT_EQ(FindOpenCommand(sys.Get(), ".theme"), program);  // read back as start-up reads it

    // A type whose key is missing (or empty) gives the program's own type, with its icon.
    SetThemeManager(state, "Missing.Type", program);
    EXPECT_EQ(Classes(".theme"), "ThemeFile");
    EXPECT_EQ(Classes("ThemeFile\\shell\\open\\command"), "\"" + program + "\"  \"%1\"");
    EXPECT_EQ(Classes("ThemeFile\\DefaultIcon"), program.toUpper() + ",0");
    EXPECT_EQ(state.ThemeFileType, "Missing.Type");
}

}  // namespace
}  // namespace merivane
