#include "settings/Settings.h"

#include "settings/DateText.h"
#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() { Prepare(state); }
    void Prepare(SettingsState& s) {
        s.AppPath = sys.Home().Home;
        s.WindowsDir = sys.Home().WindowsDir;
        s.SystemDir = sys.Home().SystemDir;
        s.ThemeOpenCommand = "(none)";
    }
    Variant Read(RegRoot root, const QString& key, const QString& name) {
        RegOp reg(sys.Get());
        reg.SetRoot(root);
        reg.SetKey(key);
        return reg.Value(name);
    }
    std::optional<RegStoredValue> Raw(RegRoot root, const QString& key, const QString& name) {
        return sys.store->QueryValue(root, key, name);
    }

    test::TestPlatform sys;
    SettingsState state{sys.Get()};
};

const QString kSetup = QStringLiteral(R"(Software\Brennock\Merivane\Setup)");
const QString kStats = QStringLiteral(R"(Software\Brennock\Merivane\Stats)");

TEST_F(SettingsTest, FirstRunWritesTheDefaults) {
    sys.WriteFile(sys.Home().WindowsDir + "Resources/Themes/Winter.theme");
    LoadSettings(state);

    EXPECT_EQ(state.LastChange.FileName, "(none)");
    EXPECT_EQ(state.PreviousChange.Reason, "none");
    EXPECT_EQ(state.InstallDate, sys.clock.now);
    EXPECT_EQ(state.Setup.ThemePath, sys.Home().WindowsDir + "Resources/Themes/");
    EXPECT_EQ(state.Setup.WallpaperPath, sys.Home().WindowsDir);

    // name, stored type, stored text (DWORDs as their number)
    struct Expect {
        const char* Name;
        std::uint32_t Type;
        QString Text;
    };
    const Expect setup[] = {
        {"ThemePath", kRegSz, sys.Home().WindowsDir + "Resources/Themes/"},
        {"UseThemeSubfolders", kRegSz, "True"},
        {"WallpaperPath", kRegSz, sys.Home().WindowsDir},
        {"UseWallpaperSubfolders", kRegSz, "False"},
        {"ShowSubfolders", kRegSz, "True"},
        {"UseRandomMethod", kRegSz, "False"},
        {"FilesToUse", kRegDword, "0"},
        {"UseOtherPics", kRegSz, "True"},
        {"UseYearInTitle", kRegSz, "True"},
        {"TypeOfScheduling", kRegDword, "0"},
        {"ScheduledTime", kRegSz, "12:30 AM"},
        {"ChangesPerDay", kRegDword, "1"},
        {"SouthernHemisphere", kRegSz, "False"},
        {"AutoMouseMove", kRegSz, "False"},
        {"PlayChangeSounds", kRegSz, "False"},
        {"ShowChangeLogo", kRegSz, "False"},
        {"UseTimeInTitle", kRegSz, "False"},
        {"UseThemeChanger", kRegDword, "0"},
        {"KeepThemeIfMultiPaper", kRegSz, "False"},
        {"DiscardBadResolutions", kRegSz, "False"},
        {"KeepRowVisible", kRegSz, "False"},
        {"KeepIconPositions", kRegSz, "False"},
        {"UseFavorites", kRegSz, "False"},
        {"ExpertMode", kRegSz, "False"},
        {"UseThemeMgrSettings", kRegSz, "YYYYYYYYY"},
        {"UseDesktopSoundTheme", kRegSz, "False"},
    };
    RegOp reg(sys.Get());
    reg.SetKey(kSetup);
    auto all = reg.AllValues();
    ASSERT_EQ(all.size(), std::size(setup));
    for (size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(setup[i].Name);
        EXPECT_EQ(all[i].first, setup[i].Name);  // saved in the table's order
        EXPECT_EQ(all[i].second.ToText(), setup[i].Text);
        EXPECT_EQ(Raw(RegRoot::CurrentUser, kSetup, setup[i].Name)->Type, setup[i].Type);
    }

    EXPECT_EQ(Read(RegRoot::CurrentUser, kStats, "LastFilenameUsed").ToText(), "(none)");
    EXPECT_EQ(Read(RegRoot::CurrentUser, kStats, "PreviousChangeReason").ToText(), "none");
    EXPECT_EQ(Read(RegRoot::CurrentUser, kStats, "LastChangeDate").ToDate(), 0.0);
    EXPECT_EQ(Read(RegRoot::CurrentUser, kStats, "WallpapersInTheme"), Variant::Long(0));
    EXPECT_EQ(Read(RegRoot::LocalMachine, kAppKey, "InstallDate").ToText(), "12/9/2026 6:00:00 PM");
    EXPECT_EQ(Read(RegRoot::LocalMachine, kAppKey, "TotalThemeChanges"), Variant::Long(0));
}

TEST_F(SettingsTest, EverySettingSurvivesASaveAndALoad) {
    LoadSettings(state);
    AppSettings& s = state.Setup;
    s.ThemePath = "/srv/themes with blanks/";
    s.UseThemeSubfolders = false;
    s.WallpaperPath = R"(C:\WINDOWS\Web\Wallpaper\)";
    s.UseWallpaperSubfolders = true;
    s.ShowSubfolders = false;
    s.UseRandomMethod = true;
    s.FilesToUse = 2;
    s.UseOtherPics = false;
    s.UseYearInTitle = false;
    s.TypeOfScheduling = 3;
    s.ScheduledTime = (21 * 60 + 45) / 1440.0;
    s.ChangesPerDay = 48;
    s.SouthernHemisphere = true;
    s.AutoMouseMove = true;
    s.PlayChangeSounds = true;
    s.ShowChangeLogo = true;
    s.UseTimeInTitle = true;
    s.UseThemeChanger = 1;
    s.KeepThemeIfMultiPaper = true;
    s.DiscardBadResolutions = true;
    s.KeepRowVisible = true;
    s.KeepIconPositions = true;
    s.UseFavorites = true;
    s.ExpertMode = true;
    s.UseThemeMgrSettings = {true, false, true, false, false, true, true, false, true};
    state.InstallDate = 45000.25;
    state.TotalThemeChanges = 123456;
    state.LastChange = {"/srv/themes with blanks/Xmas.theme", true, "Christmas", 46365.5, 3};
    state.PreviousChange = {"/srv/pics/Snow.jpg", false, "Winter", 46364.0, 0};
    state.Position = {120.0f, 2400.0f, 7200.5f, 9600.0f};
    SaveSettings(state, true, true, true);

    SettingsState loaded(sys.Get());
    Prepare(loaded);
    LoadSettings(loaded);
    EXPECT_EQ(loaded.Setup, state.Setup);
    EXPECT_EQ(loaded.InstallDate, state.InstallDate);
    EXPECT_EQ(loaded.TotalThemeChanges, 123456);
    EXPECT_EQ(loaded.LastChange.FileName, state.LastChange.FileName);
    EXPECT_EQ(loaded.LastChange.Reason, "Christmas");
    EXPECT_EQ(loaded.LastChange.ChangeDate, 46365.5);
    EXPECT_EQ(loaded.LastChange.WallpapersInTheme, 3);
    EXPECT_FALSE(loaded.LastChange.IsTheme);  // not stored
    EXPECT_EQ(loaded.PreviousChange.FileName, "/srv/pics/Snow.jpg");
    EXPECT_EQ(loaded.PreviousChange.ChangeDate, 46364.0);
    EXPECT_EQ(Read(RegRoot::CurrentUser, R"(Software\Brennock\Merivane\Position)", "Height").ToText(),
              "7200.5");
}

TEST_F(SettingsTest, ThemeMgrSettingsText) {
    struct Case {
        const char* Text;
        const char* Flags;  // as they are saved again
    };
    const Case cases[] = {
        {"YYYYYYYYY", "YYYYYYYYY"}, {"yn", "YNYYYYYYY"},           {"", "YYYYYYYYY"},
        {"N0NxN", "NNNYNYYYY"},     {"NNNNNNNNNNNN", "NNNNNNNNN"}, {"  N", "NYYYYYYYY"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ThemeMgrSettingsText(ParseThemeMgrSettings(c.Text)), c.Flags);
    }
}

TEST_F(SettingsTest, ValuesThatDoNotReadLoadAsEmpty) {
    LoadSettings(state);
    RegOp reg(sys.Get());
    reg.SetKey(kSetup);
    reg.SetValue("ChangesPerDay",
                 Variant::Text("lots"));  // the stored type follows: not a number, not written
    sys.store->SetValue(RegRoot::CurrentUser, kSetup, "FilesToUse", kRegSz, QByteArray("40000\0", 6));
    sys.store->SetValue(RegRoot::CurrentUser, kSetup, "UseRandomMethod", kRegSz, QByteArray("perhaps\0", 8));
    sys.store->SetValue(RegRoot::CurrentUser, kSetup, "ScheduledTime", kRegSz, QByteArray("21:45\0", 6));
    sys.store->SetValue(RegRoot::CurrentUser, kStats, "LastChangeDate", kRegSz,
                        QByteArray("2026-12-01T07:00:00\0", 20));
    sys.store->DeleteValue(RegRoot::CurrentUser, kSetup, "UseThemeMgrSettings");

    SettingsState loaded(sys.Get());
    Prepare(loaded);
    LoadSettings(loaded);
    EXPECT_EQ(loaded.Setup.ChangesPerDay, 1);
    EXPECT_EQ(loaded.Setup.FilesToUse, 0);  // out of the 16-bit range
    EXPECT_FALSE(loaded.Setup.UseRandomMethod);
    EXPECT_DOUBLE_EQ(loaded.Setup.ScheduledTime, (21 * 60 + 45) / 1440.0);
    EXPECT_DOUBLE_EQ(loaded.LastChange.ChangeDate, *SerialFromYmd(2026, 12, 1) + 7.0 / 24);
    EXPECT_EQ(ThemeMgrSettingsText(loaded.Setup.UseThemeMgrSettings), "YYYYYYYYY");
}

TEST_F(SettingsTest, AnUnreadableInstallDateStartsAgainToday) {
    sys.store->CreateKey(RegRoot::LocalMachine, kAppKey);
    sys.store->SetValue(RegRoot::LocalMachine, kAppKey, "InstallDate", kRegSz, QByteArray("garbage\0", 8));
    LoadSettings(state);
    EXPECT_EQ(state.InstallDate, sys.clock.now);
}

TEST_F(SettingsTest, UninstallThenFirstRunKeepsTheMachineStatistics) {
    LoadSettings(state);
    state.TotalThemeChanges = 17;
    state.InstallDate = 40000.5;
    state.Setup.UseRandomMethod = true;
    state.LastChange.FileName = "x.theme";
    SaveSettings(state, true, true, false);

    DeleteSettings(state);
    EXPECT_FALSE(sys.store->KeyExists(RegRoot::CurrentUser, kAppKey));
    EXPECT_TRUE(sys.store->KeyExists(RegRoot::CurrentUser, R"(Software\Brennock)"));

    sys.clock.now += 100;
    SettingsState again(sys.Get());
    Prepare(again);
    LoadSettings(again);
    EXPECT_EQ(again.TotalThemeChanges, 17);
    EXPECT_EQ(again.InstallDate, 40000.5);
    EXPECT_FALSE(again.Setup.UseRandomMethod);
    EXPECT_EQ(again.LastChange.FileName, "(none)");
    EXPECT_EQ(Read(RegRoot::CurrentUser, kSetup, "UseRandomMethod").ToText(), "False");
}

TEST_F(SettingsTest, SavingOnlyTheStatisticsLeavesSetupAlone) {
    LoadSettings(state);
    state.Setup.ExpertMode = true;
    state.TotalThemeChanges = 5;
    SaveSettings(state, true, false, false);
    EXPECT_EQ(Read(RegRoot::CurrentUser, kSetup, "ExpertMode").ToText(), "False");
    EXPECT_EQ(Read(RegRoot::LocalMachine, kAppKey, "TotalThemeChanges"), Variant::Long(5));
    EXPECT_FALSE(sys.store->KeyExists(RegRoot::CurrentUser, R"(Software\Brennock\Merivane\Position)"));
}

}  // namespace
}  // namespace merivane
