#include "app/Main.h"
#include "app/Program.h"
#include "schedule/Autostart.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"
#include "ui/FilesTab.h"
#include "ui/SettingsTab.h"
#include "ui/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// A first-run home with a wallpaper folder, the autostart entries written to a temporary
// configuration folder, and the setup window on the Settings tab.
class SettingsTabTest : public ::testing::Test {
  protected:
    SettingsTabTest() : program(sys.Get()) {
        sys.Home().InstallShippedData(QStringLiteral(MERIVANE_SOURCE_DATA_DIR));
        sys.env.Set("XDG_CONFIG_HOME", sys.Scratch("config"));
        sys.clock.now = *SerialFromYmd(2026, 12, 14) + 0.5;
        program.Resident = &ports;
        program.Companion = &companion;
        program.ExecutablePath = "/opt/merivane/merivane";
        SetStartupGlobals(program);
        LoadSettings(program);
        LoadEventTable(program);
        pictures = sys.Scratch("pictures/");
        QDir().mkpath(pictures);
        program.Setup.WallpaperPath = pictures;
        program.Setup.FilesToUse = 1;
        SaveSettings(program, false, true, false);
        window = new frmMain(program);
        window->Load();
        window->SelectTab(3);
    }
    ~SettingsTabTest() override { delete window.data(); }

    SettingsTab& Tab() { return window->Settings(); }
    QString Status() { return window->StatusText(); }
    void Check(QChar code, bool on) {
        Tab().Options()->item(Tab().OptionRow(code))->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    QString RunValue() {
        RegOp run(sys.Get());
        run.SetKey(kRunKey);
        return run.Value(kRunValueName).ToText();
    }
    QString Stored(const QString& name) {
        RegOp reg(sys.Get());
        reg.SetKey(kAppKey + "\\Setup");
        return reg.Value(name).ToText();
    }
    void Expert() {
        program.Setup.ExpertMode = true;
        window->ApplyExpertMode(false);
        window->RefreshCurrentTab();  // the tab shows the mode as it now stands
    }

    test::TestPlatform sys;
    test::FakeResidentPorts ports;
    test::FakeCompanion companion;
    Program program;
    QString pictures;
    QPointer<frmMain> window;
};

TEST_F(SettingsTabTest, FoldersAreCheckedInTurnAndARefusedOneStoresNothing) {
    struct Case {
        const char* Wallpaper;
        const char* Status;
    };
    const Case cases[] = {
        {"/tm", "Folder name must be at least 4 characters long"},
        {"/no/such/folder", "Folder error: No such file or directory"},
    };
    for (const Case& c : cases) {
        Tab().Path(1)->setText(c.Wallpaper);
        Tab().SaveAndApply();
        EXPECT_EQ(Status(), c.Status);
        EXPECT_TRUE(Tab().Path(1)->styleSheet().contains("255, 0, 0")) << c.Wallpaper;
        EXPECT_EQ(program.Setup.WallpaperPath, pictures);
        EXPECT_EQ(Stored("WallpaperPath"), pictures) << c.Wallpaper;
    }
    // Without its separator: one is appended before the folder is tested and stored.
    Tab().Path(1)->setText(pictures.chopped(1));
    Tab().SaveAndApply();
    EXPECT_EQ(Status(), "Settings saved.");
    EXPECT_EQ(Tab().Path(1)->text(), pictures);
    EXPECT_EQ(Stored("WallpaperPath"), pictures);
    EXPECT_TRUE(Tab().Path(1)->styleSheet().isEmpty());
}

TEST_F(SettingsTabTest, ChangesPerDayAreCorrectedAndTypingIsForExperts) {
    Tab().Scheduler(2)->click();
    QTest::keyClicks(Tab().PerDayList()->lineEdit(), "7");
    QTest::keyClicks(Tab().TimeList()->lineEdit(), "9");
    EXPECT_EQ(Tab().PerDayList()->currentText(), QString::number(program.Setup.ChangesPerDay));
    EXPECT_EQ(Tab().TimeList()->currentText(), "12:30 AM");

    Expert();
    Tab().Scheduler(2)->click();
    struct Case {
        const char* Typed;
        int Stored;
    };
    for (const Case& c : {Case{"100", 96}, Case{"0", 1}, Case{"abc", 1}, Case{"48", 48}}) {
        Tab().PerDayList()->lineEdit()->clear();
        QTest::keyClicks(Tab().PerDayList()->lineEdit(), c.Typed);
        EXPECT_EQ(Tab().PerDayList()->currentText(), c.Typed);
        Tab().SaveAndApply();
        EXPECT_EQ(program.Setup.ChangesPerDay, c.Stored) << c.Typed;
        EXPECT_EQ(Stored("ChangesPerDay"), QString::number(c.Stored)) << c.Typed;
    }
    Tab().TimeList()->setEditText("quarter past");
    Tab().SaveAndApply();
    EXPECT_EQ(Status(), "Time is not correct.  Value ignored.");
}

TEST_F(SettingsTabTest, TheTimeCountsOnlyForTimedMethodsAndTheEntriesFollowTheMethod) {
    Tab().Scheduler(1)->click();
    Tab().TimeList()->setEditText("3:00 AM");
    EXPECT_FALSE(Tab().TimeList()->isEnabled());
    Tab().SaveAndApply();
    EXPECT_EQ(program.Setup.TypeOfScheduling, 1);
    EXPECT_DOUBLE_EQ(program.Setup.ScheduledTime, 0.5 / 24);  // the first-run 12:30 AM
    EXPECT_EQ(RunValue(), program.AppPath + "merivane.exe  /check");
    EXPECT_TRUE(QFile::exists(sys.Scratch("config/autostart/merivane.desktop")));

    // The time alone changed while method 1 stands: nothing is stored, no entry moves.
    companion.calls.clear();
    Tab().TimeList()->setEditText("4:00 AM");
    Tab().SaveAndApply();
    EXPECT_DOUBLE_EQ(program.Setup.ScheduledTime, 0.5 / 24);
    EXPECT_TRUE(companion.calls.isEmpty());

    Tab().Scheduler(0)->click();
    Tab().SaveAndApply();
    EXPECT_EQ(RunValue(), "");
    EXPECT_FALSE(QFile::exists(sys.Scratch("config/autostart/merivane.desktop")));
}

TEST_F(SettingsTabTest, ManyTimedChangesOfALargeCollectionUseTheResidentInsteadOfATask) {
    for (int i = 0; i < 1000; ++i) {
        QFile(pictures + QStringLiteral("Lake %1.jpg").arg(i)).open(QIODevice::WriteOnly);
    }
    window->Files().RefreshFileList();
    ASSERT_EQ(program.Catalogue.size(), 1000U);
    Expert();
    Tab().Scheduler(3)->click();
    Tab().PerDayList()->setEditText("24");
    Tab().SaveAndApply();
    EXPECT_EQ(program.Setup.TypeOfScheduling, 2);
    EXPECT_TRUE(Tab().Scheduler(2)->isChecked());
    EXPECT_EQ(Stored("TypeOfScheduling"), "2");
    EXPECT_EQ(RunValue(), program.AppPath + "merivane.exe  /check");
    EXPECT_TRUE(ports.calls.contains("clock on"));
    EXPECT_TRUE(companion.tasks.empty());
}

TEST_F(SettingsTabTest, KeepingTheThemeForTheDayChoosesOtherPicturesToo) {
    Check(u'O', false);
    Check(u'M', true);
    Tab().SaveAndApply();
    EXPECT_TRUE(program.Setup.KeepThemeIfMultiPaper);
    EXPECT_TRUE(program.Setup.UseOtherPics);
    EXPECT_EQ(Tab().Options()->item(Tab().OptionRow(u'O'))->checkState(), Qt::Checked);
    EXPECT_EQ(Tab().Options()->count(), 16);
    EXPECT_EQ(Tab().Options()->item(0)->text(),
              "When no special events occur, USE FAVORITE themes/wallpapers exclusively.");
}

TEST_F(SettingsTabTest, OnlyShowingSubfoldersRedrawsTheListWithoutScanningAgain) {
    // More than 40 files: a catalogue that large is kept until something resets it.
    QDir().mkpath(pictures + "Winter");
    for (int i = 0; i < 41; ++i) {
        QFile(pictures + QStringLiteral("Winter/Frost %1.jpg").arg(i, 2, 10, QChar(u'0')))
            .open(QIODevice::WriteOnly);
    }
    program.Setup.UseWallpaperSubfolders = true;
    program.Setup.ShowSubfolders = false;
    window->Files().RefreshFileList();
    window->RefreshCurrentTab();                              // the tab shows the settings as they now stand
    QFile(pictures + "Lake.jpg").open(QIODevice::WriteOnly);  // not seen without a scan
    Check(u'D', true);
    Tab().SaveAndApply();
    ASSERT_EQ(window->Files().Model().rowCount(), 41);
    EXPECT_TRUE(window->Files().Model().Row(0).Name.startsWith("Winter/Frost "));

    // A folder setting changed: the folders are scanned again.
    Tab().Subfolders(1)->setChecked(false);
    Tab().SaveAndApply();
    ASSERT_EQ(window->Files().Model().rowCount(), 1);
    EXPECT_EQ(window->Files().Model().Row(0).Name, "Lake.jpg");
}

TEST_F(SettingsTabTest, ExpertModeSavedSwapsTheStripsOnTheSettingsTab) {
    EXPECT_FALSE(Tab().Subfolders(0)->isVisible());
    Check(u'X', true);
    Tab().SaveAndApply();
    EXPECT_TRUE(window->ExpertStrip()->isVisible());
    EXPECT_EQ(window->ExpertStrip()->currentIndex(), 2);
    EXPECT_EQ(window->CurrentTab(), 3);
    EXPECT_TRUE(Tab().Subfolders(0)->isVisible());
}

TEST_F(SettingsTabTest, TheManagementTabInstallsTheWallpaperWhenNothingIsChecked) {
    Expert();
    window->SelectTab(4);
    ManagementTab& tab = window->Management();
    EXPECT_FALSE(tab.SaveButton()->isEnabled());
    tab.Method(1)->click();
    EXPECT_TRUE(tab.Element(0)->isEnabled());
    for (int i = 0; i < 9; ++i) {
        tab.Element(i)->setChecked(false);
    }
    EXPECT_TRUE(tab.SaveButton()->isEnabled());
    tab.SaveManagement();
    EXPECT_EQ(Status(), "Management settings saved.");
    EXPECT_EQ(program.Setup.UseThemeChanger, 1);
    EXPECT_TRUE(tab.Element(8)->isChecked());
    EXPECT_EQ(Stored("UseThemeMgrSettings"), "NNNNNNNNY");

    tab.Method(0)->click();
    EXPECT_FALSE(tab.Element(0)->isEnabled());
}

}  // namespace
}  // namespace merivane
