#include "app/Program.h"
#include "calendar/EventTable.h"
#include "calendar/Overrides.h"
#include "platform/ProfileFile.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"
#include "ui/FilesTab.h"
#include "ui/frmMain.h"
#include "ui/frmOverride.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace merivane {
namespace {

const char* const kTable =
    "Christmas\tx\t12\t25\t14\txmas;santa\r\n"
    "Halloween\tx\t10\t31\t14\tpumpkin\r\n"
    "Easter\te\t0\t1\t7\tbunny\r\n"
    "New Year\tx\t1\t1\t3\t\r\n";

// A home with a small collection named after events, and the setup window over it.
class SetupWindowTest : public ::testing::Test {
  protected:
    SetupWindowTest() {
        sys.PlaceIn(program);
        sys.clock.now = *SerialFromYmd(2026, 12, 14) + 0.5;
        sys.WriteFile(sys.Home().Home + kEventTableFileName, kTable);
        LoadSettings(program);
        program.Setup.ThemePath = sys.Scratch("themes/");
        program.Setup.WallpaperPath = sys.Scratch("pictures/");
        program.Setup.FilesToUse = 2;
        program.Setup.ShowSubfolders = true;
        program.Setup.UseWallpaperSubfolders = true;
        LoadEventTable(program);
    }
    ~SetupWindowTest() override { delete window.data(); }

    // A real picture, small: the wallpaper theme takes only pictures that read.
    QString Picture(const QString& name) {
        const QString path = sys.WriteFile(program.Setup.WallpaperPath + name);
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(path, "JPG");
        return path;
    }
    frmMain& Open() {
        window = new frmMain(program);
        window->Load();
        return *window;
    }
    FilesTab& Files() { return window->Files(); }
    ScheduleModel& Model() { return Files().Model(); }
    QStringList Column(int column) {
        QStringList texts;
        for (int row = 0; row < Model().rowCount(); ++row) {
            texts << ScheduleModel::Text(Model().Row(row), column);
        }
        return texts;
    }
    void Select(const QString& shownName) {
        Files().SelectRow(Column(ScheduleModel::Filename).indexOf(shownName));
    }
    QString Status() { return window->StatusText(); }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Files().List(), static_cast<Qt::Key>(key), mods);
    }
    QString PositionValue(const QString& name) {
        RegOp reg(sys.Get());
        reg.SetKey(kAppKey + QStringLiteral("\\Position"));
        return reg.Value(name).ToText();
    }

    test::TestPlatform sys;
    Program program{sys.Get()};
    QPointer<frmMain> window;
};

TEST_F(SetupWindowTest, FirstRunOpensSmallAtTheTopLeftAndAMinimisedCloseKeepsTheNormalSize) {
    frmMain& main = Open();
    EXPECT_EQ(main.windowTitle(), "Merivane - Desktop changes by event");
    EXPECT_EQ(main.size(), QSize(7530 / 15, 6030 / 15));
    EXPECT_EQ(main.pos(), QPoint(0, 0));
    EXPECT_EQ(main.CurrentTab(), 1);
    EXPECT_EQ(Status(), "To modify, right or double click a filename above.");

    main.resize(640, 480);
    main.showMinimized();
    main.close();
    EXPECT_EQ(PositionValue("Width"), "9600");
    EXPECT_EQ(PositionValue("Height"), "7200");

    // The next window opens as the last one was left.
    frmMain& again = Open();
    EXPECT_EQ(again.size(), QSize(640, 480));
}

TEST_F(SetupWindowTest, TabsShowTheirFramesAndHelpLinesAndTheShownTabIsLeftAlone) {
    frmMain& main = Open();
    EXPECT_TRUE(main.NormalStrip()->isVisible());
    EXPECT_FALSE(main.ExpertStrip()->isVisible());
    EXPECT_EQ(main.NormalStrip()->count(), 4);
    EXPECT_EQ(main.ExpertStrip()->count(), 5);

    main.NormalStrip()->setCurrentIndex(3);
    EXPECT_EQ(main.CurrentTab(), 5);
    EXPECT_EQ(Status(), "Recent statistics and program information.");

    main.ShowStatus("something said");
    main.NormalStrip()->setCurrentIndex(3);  // the tab shown already
    main.SelectTab(5);
    EXPECT_EQ(Status(), "something said");

    // Expert mode from the Settings tab: the other strip shows the same third tab.
    main.NormalStrip()->setCurrentIndex(2);
    program.Setup.ExpertMode = true;
    main.ApplyExpertMode(true);
    EXPECT_TRUE(main.ExpertStrip()->isVisible());
    EXPECT_FALSE(main.NormalStrip()->isVisible());
    EXPECT_EQ(main.ExpertStrip()->currentIndex(), 2);
    EXPECT_EQ(main.CurrentTab(), 3);
    main.ExpertStrip()->setCurrentIndex(3);
    EXPECT_EQ(main.CurrentTab(), 4);
    EXPECT_EQ(Status(), "Make changes, then click the Save Settings button.");

    // A tab chosen by the program (the first-run setup opens on Settings) shows on the strip.
    main.SelectTab(5);
    EXPECT_EQ(main.ExpertStrip()->currentIndex(), 4);
}

TEST_F(SetupWindowTest, RowsShowTheirWindowsAnyDayAndNever) {
    Picture("Christmas Snow.jpg");
    Picture("Mountain Lake.jpg");
    Picture("Winter/Halloween Pumpkins.jpg");
    sys.WriteFile(program.Setup.ThemePath + "Santa.theme", "[Theme]\r\n");
    WriteOverride(program.AppPath, "Mountain Lake.jpg", {0, 999, "*** Any Day ***"});
    sys.WriteFile(program.AppPath + kOverrideFileName,
                  "[Mountain Lake.jpg]\r\nx=0 999 *** Any Day ***\r\n[Halloween Pumpkins.jpg]\r\nx=0 0 *** "
                  "Do Not Use ***\r\n");
    Open();
    EXPECT_EQ(window->findChild<QLabel*>("lblScheduleCount")->text(),
              "These 4 files shown below will be used:");
    // Sorted by "Ends" when the window opens (Christmas, then the files of any or no day);
    // subfolders shown.
    EXPECT_EQ(Column(ScheduleModel::Filename),
              (QStringList{"Christmas Snow.jpg", "Santa.theme", "Mountain Lake.jpg",
                           "Winter/Halloween Pumpkins.jpg"}));
    const int any = Column(ScheduleModel::Filename).indexOf("Mountain Lake.jpg");
    const int never = Column(ScheduleModel::Filename).indexOf("Winter/Halloween Pumpkins.jpg");
    const int snow = Column(ScheduleModel::Filename).indexOf("Christmas Snow.jpg");
    const auto texts = [this](int row, std::initializer_list<int> columns) {
        QStringList shown;
        for (int column : columns) {
            shown << ScheduleModel::Text(Model().Row(row), column);
        }
        return shown;
    };
    const auto dates = {int(ScheduleModel::Starts), int(ScheduleModel::Ends), int(ScheduleModel::Days),
                        int(ScheduleModel::Override), int(ScheduleModel::OverrideDates)};
    EXPECT_EQ(texts(any, dates), (QStringList{"Any day", "Any day", " All", "Exclusive", "*** Any Day ***"}));
    EXPECT_EQ(texts(never, dates),
              (QStringList{"Never", "Never", "   0", "Exclusive", "*** Do Not Use ***"}));
    EXPECT_EQ(texts(snow, dates), (QStringList{"12-Dec-26", "25-Dec-26", "  14", "", ""}));
    EXPECT_EQ(texts(snow, {ScheduleModel::Type, ScheduleModel::Fav}), (QStringList{"Wallpaper", ""}));
    EXPECT_TRUE(Files().List()->isColumnHidden(ScheduleModel::FullFilenameHidden));
}

TEST_F(SetupWindowTest, HeaderClicksSortByTheirKeysAndASecondClickTurnsTheOrder) {
    for (const char* name :
         {"b Christmas.jpg", "a Christmas.jpg", "Halloween.jpg", "Lake.jpg", "New Year.jpg"}) {
        Picture(name);
    }
    Open();
    Files().SortByColumn(ScheduleModel::Starts);
    EXPECT_EQ(Status(), "Files/Themes list is sorted by the \"Starts\" column (ascending).");
    // Start dates: Halloween 18 Oct, both Christmas 12 Dec (by name), New Year 30 Dec 2026,
    // the any-day lake whose window starts long before.
    EXPECT_EQ(Column(ScheduleModel::Filename), (QStringList{"Lake.jpg", "Halloween.jpg", "a Christmas.jpg",
                                                            "b Christmas.jpg", "New Year.jpg"}));
    Files().SortByColumn(ScheduleModel::Starts);
    EXPECT_EQ(Status(), "Files/Themes list is sorted by the \"Starts\" column (descending).");
    EXPECT_EQ(Column(ScheduleModel::Filename), (QStringList{"New Year.jpg", "b Christmas.jpg",
                                                            "a Christmas.jpg", "Halloween.jpg", "Lake.jpg"}));

    // The selected file stays selected through a sort; hidden columns do not sort.
    Select("Halloween.jpg");
    Files().SortByColumn(ScheduleModel::Filename);
    EXPECT_EQ(ScheduleModel::Text(Model().Row(Files().SelectedRow()), 0), "Halloween.jpg");
    Files().SortByColumn(ScheduleModel::FullFilenameHidden);
    EXPECT_EQ(Model().SortColumn(), ScheduleModel::Filename);
}

TEST_F(SetupWindowTest, AnEmptyCatalogueSaysSoAndOpensNoMenu) {
    Open();
    EXPECT_EQ(window->findChild<QLabel*>("lblScheduleCount")->text(),
              "No files.  Please set up the Themes/Wallpaper folders.");
    Files().ShowSchedulePopup(QPoint(10, 10));
    EXPECT_FALSE(Files().Popup()->isVisible());
    Picture("Lake.jpg");
    Files().RefreshFileList();
    EXPECT_EQ(window->findChild<QLabel*>("lblScheduleCount")->text(),
              "1 file found.  You need to use more themes/wallpapers.");
    EXPECT_EQ(Status(), "Files/Themes list was refreshed.");
}

TEST_F(SetupWindowTest, ThePopupNamesTheKindAndShowsTheExpertItemsOnlyInExpertMode) {
    Picture("Lake.jpg");
    Open();
    Select("Lake.jpg");
    Files().ShowSchedulePopup(QPoint(10, 10));
    EXPECT_TRUE(Files().Popup()->isVisible());
    EXPECT_EQ(Files().Action(FilesTab::kRename)->text(), "&Rename Wallpaper");
    EXPECT_EQ(Files().Action(FilesTab::kDelete)->text(), "&Delete Wallpaper");
    EXPECT_EQ(Files().Action(FilesTab::kFavorite)->text(), "&Favorite Mark/Unmark\tSpacebar");
    EXPECT_EQ(Files().Popup()->defaultAction(), Files().Action(FilesTab::kOverride));
    EXPECT_FALSE(Files().Action(FilesTab::kDelete)->isVisible());
    EXPECT_FALSE(Files().Action(FilesTab::kPrintInfo)->isVisible());
    EXPECT_FALSE(Files().Action(FilesTab::kViewEdit)->isEnabled());  // no theme program here
    Files().Popup()->hide();

    program.TextViewerCommand = "/usr/bin/editor";
    Key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(sys.processes.started.empty());
    program.Setup.ExpertMode = true;
    window->ApplyExpertMode(false);
    EXPECT_FALSE(window->findChild<QLabel*>("lblDateWrong")->isVisible());
    Key(Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(sys.processes.started.size(), 1U);
    EXPECT_TRUE(sys.processes.started[0].CommandLine.startsWith("/usr/bin/editor  \""));
    EXPECT_TRUE(sys.processes.started[0].CommandLine.endsWith("Wallpaper.theme\""));

    // Exploring a picture opens the folder that holds it.
    sys.processes.started.clear();
    Key(Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(sys.processes.started.size(), 1U);
    EXPECT_EQ(SplitWindowsCommandLine(sys.processes.started[0].CommandLine),
              (QStringList{"Explorer", program.Setup.WallpaperPath}));
}

TEST_F(SetupWindowTest, RenamingKeepsTheSubfolderMovesTheOverrideAndIgnoresALetterCaseChange) {
    const QString old = Picture("Winter/Lake.jpg");
    WriteOverride(program.AppPath, "Lake.jpg", {0, 5, "12/25"});
    Open();
    Select("Winter/Lake.jpg");

    sys.dialogs.typed = {QString("LAKE")};
    Files().MenuCommand(FilesTab::kRename);
    EXPECT_EQ(Status(), "File rename was cancelled.");
    EXPECT_TRUE(QFile::exists(old));
    EXPECT_TRUE(sys.dialogs.messages.back().Text.contains("          Lake.jpg\r\n\r\n(Do NOT add"));

    sys.dialogs.typed = {QString("  Christmas Lake ")};
    Files().MenuCommand(FilesTab::kRename);
    EXPECT_EQ(Status(), "File was renamed.");
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(program.Setup.WallpaperPath + "Winter/Christmas Lake.jpg"));
    const ScheduleRow& row = Model().Row(Files().SelectedRow());
    EXPECT_EQ(row.Name, "Winter/Christmas Lake.jpg");
    EXPECT_EQ(row.FullName, program.Setup.WallpaperPath + "Winter/Christmas Lake.jpg");
    EXPECT_EQ(ReadOverride(program.AppPath, "Christmas Lake.jpg").OverrideText, "12/25");
    EXPECT_TRUE(ReadOverride(program.AppPath, "Lake.jpg").OverrideText.isEmpty());
    EXPECT_EQ(program.Catalogue[0].FileName, row.FullName);

    // A name that exists already is not replaced.
    Picture("Winter/Taken.jpg");
    sys.dialogs.typed = {QString("Taken")};
    Files().MenuCommand(FilesTab::kRename);
    EXPECT_TRUE(Status().startsWith("Rename error: "));
    EXPECT_TRUE(QFile::exists(program.Setup.WallpaperPath + "Winter/Christmas Lake.jpg"));
}

TEST_F(SetupWindowTest, TheFavouriteMarkIsShownAndSaved) {
    const QString lake = Picture("Lake.jpg");
    Open();
    Select("Lake.jpg");
    Key(Qt::Key_Space);
    EXPECT_EQ(ScheduleModel::Text(Model().Row(Files().SelectedRow()), ScheduleModel::Fav), "Y");
    EXPECT_EQ(Status(), "There are 1 favorite(s) selected.");
    QFile saved(program.AppPath + "Merivane.fav");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), "Lake.jpg\r\n");
    EXPECT_TRUE(lake.endsWith("Lake.jpg"));
}

TEST_F(SetupWindowTest, DeletingAsksFirstAndTakesTheFileOnlyWhenTheAnswerIsYes) {
    const QString lake = Picture("Lake.jpg");
    Picture("Snow.jpg");
    Open();
    Select("Lake.jpg");
    sys.dialogs.answers = {MessageResult::No};
    program.Setup.ExpertMode = true;
    window->ApplyExpertMode(false);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(QFile::exists(lake));
    ASSERT_FALSE(sys.dialogs.messages.empty());
    EXPECT_EQ(sys.dialogs.messages.back().Title, "Confirm Wallpaper Delete");
    EXPECT_EQ(sys.dialogs.messages.back().Text, "ARE YOU SURE YOU WANT TO DELETE:\r\n     " + lake);

    sys.dialogs.answers = {MessageResult::Yes};
    Key(Qt::Key_Delete);
    EXPECT_FALSE(QFile::exists(lake));
    EXPECT_EQ(Column(ScheduleModel::Filename), QStringList{"Snow.jpg"});
    ASSERT_EQ(program.Catalogue.size(), 1U);
    EXPECT_TRUE(program.Catalogue[0].FileName.endsWith("Snow.jpg"));
    EXPECT_EQ(Files().SelectedRow(), -1);
}

TEST_F(SetupWindowTest, ADeleteThatFailsSaysWhyAndKeepsTheRow) {
    Picture("Lake.jpg");
    Open();
    Select("Lake.jpg");
    QFile::remove(program.Setup.WallpaperPath + "Lake.jpg");
    sys.dialogs.answers = {MessageResult::Yes};
    Files().DeleteFile(program.Setup.WallpaperPath + "Lake.jpg", false);
    EXPECT_EQ(sys.dialogs.messages.back().Title, "Delete failed");
    EXPECT_TRUE(sys.dialogs.messages.back().Text.startsWith("Reason: "));
    EXPECT_EQ(Model().rowCount(), 1);
}

// The override dialog, opened on the one file of the list.
class OverrideDialogTest : public SetupWindowTest {
  protected:
    frmOverride& Dialog() {
        lake = Picture("Lake.jpg");
        Open();
        Select("Lake.jpg");
        dialog = std::make_unique<frmOverride>(program, lake, "Any day", " All", window.data());
        dialog->Redraw = [this](int themePos) { Files().UpdateScheduleFrame(themePos); };
        return *dialog;
    }
    QComboBox* Ending() { return dialog->findChild<QComboBox*>("cmbEndingDate"); }
    QLineEdit* Days() { return dialog->findChild<QLineEdit*>("txtDays"); }
    QWidget* Button(const char* name) { return dialog->findChild<QWidget*>(name); }
    void Priority(int index) {
        QTest::mouseClick(dialog->findChild<QRadioButton*>(QStringLiteral("optPriority(%1)").arg(index)),
                          Qt::LeftButton);
    }

    QString lake;
    std::unique_ptr<frmOverride> dialog;
};

TEST_F(OverrideDialogTest, OpensEmptyForAFileWithoutOverrideAndOkWaitsForBothFields) {
    frmOverride& d = Dialog();
    EXPECT_EQ(d.windowTitle(), "Override Date Info");
    EXPECT_EQ(d.findChild<QLabel*>("lblThemeOrWallpaper")->text(), "Wallpaper:");
    EXPECT_EQ(d.findChild<QLabel*>("lblFilename")->text(), "Lake.jpg");
    EXPECT_EQ(d.findChild<QLabel*>("lblDays")->text(), "All");
    EXPECT_EQ(Ending()->count(), 2 + 4);
    EXPECT_EQ(Ending()->itemText(0), "*** Any Day ***");
    EXPECT_EQ(Ending()->itemText(5), "New Year");
    EXPECT_TRUE(Ending()->currentText().isEmpty());
    EXPECT_FALSE(Button("cmdErase")->isEnabled());
    EXPECT_FALSE(Button("cmdOK")->isEnabled());
    EXPECT_EQ(d.Priority(), 0);
    Ending()->setEditText("Easter");
    EXPECT_FALSE(Button("cmdOK")->isEnabled());
    Days()->setText("7");
    EXPECT_TRUE(Button("cmdOK")->isEnabled());
}

TEST_F(OverrideDialogTest, TypingIsDroppedOutsideExpertModeAndAPickedEventBringsItsDays) {
    Dialog();
    dialog->show();
    QTest::keyClicks(Ending()->lineEdit(), "12/25");
    EXPECT_TRUE(Ending()->currentText().isEmpty());
    // Picking Easter (7 days) from the list, then leaving the box.
    Ending()->setCurrentIndex(Ending()->findText("Easter"));
    Q_EMIT Ending()->activated(Ending()->currentIndex());
    QFocusEvent leaving(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Ending()->lineEdit(), &leaving);
    EXPECT_EQ(Days()->text(), "7");
    // "*** Do Not Use ***" gives no day at all.
    Ending()->setCurrentIndex(1);
    QApplication::sendEvent(Ending()->lineEdit(), &leaving);
    EXPECT_EQ(Days()->text(), "0");

    program.Setup.ExpertMode = true;
    Ending()->setEditText("");
    QTest::keyClicks(Ending()->lineEdit(), "12/25");
    EXPECT_EQ(Ending()->currentText(), "12/25");
}

TEST_F(OverrideDialogTest, ChecksPaintTheFieldAndKeepTheDialogOpen) {
    struct Case {
        const char* Ending;
        const char* Days;
        int Priority;
        const char* Message;
    };
    const Case cases[] = {
        {"", "5", 0, "Ending Date must be entered"},
        {"12/25", "", 0, "Days to show must be entered"},
        {"12/25", "five", 0, "Days to show must be a number"},
        {"12/25", "40", 1, "Priority Days to show must be 1 to 31"},
    };
    Dialog();
    for (const Case& c : cases) {
        Ending()->setEditText(c.Ending);
        Days()->setText(c.Days);
        Priority(c.Priority);
        dialog->Ok();
        EXPECT_EQ(dialog->StatusText(), c.Message) << c.Days;
        EXPECT_NE(dialog->result(), QDialog::Accepted) << c.Days;
        QWidget* field = QString(c.Message).startsWith("Ending") ? static_cast<QWidget*>(Ending())
                                                                 : static_cast<QWidget*>(Days());
        EXPECT_TRUE(field->styleSheet().contains("red")) << c.Message;
    }
    EXPECT_TRUE(ReadOverride(program.AppPath, "Lake.jpg").OverrideText.isEmpty());
}

TEST_F(OverrideDialogTest, DaysAreSavedAsWholeNumbersWithinTheirRangeAndTheRowIsRedrawn) {
    struct Case {
        const char* Days;
        int Priority;
        std::int16_t Saved;
    };
    const Case cases[] = {{"40", 0, 40}, {"-5", 0, 0}, {"5000", 0, 999}, {"07", 0, 7}, {"31", 1, 31}};
    Dialog();
    for (const Case& c : cases) {
        Ending()->setEditText(" 12/25 ");
        Days()->setText(c.Days);
        Priority(c.Priority);
        dialog->setResult(0);
        dialog->Ok();
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.Days;
        const OverrideEntry saved = ReadOverride(program.AppPath, "Lake.jpg");
        EXPECT_EQ(saved.DaysShown, c.Saved) << c.Days;
        EXPECT_EQ(saved.Priority, c.Priority) << c.Days;
        EXPECT_EQ(saved.OverrideText, "12/25");
    }
    // The row shows the new window at once: 31 days up to Christmas.
    const ScheduleRow& row = Model().Row(Files().SelectedRow());
    EXPECT_EQ(ScheduleModel::Text(row, ScheduleModel::Ends), "25-Dec-26");
    EXPECT_EQ(ScheduleModel::Text(row, ScheduleModel::Days), "  31");
    EXPECT_EQ(ScheduleModel::Text(row, ScheduleModel::Override), "Priority");

    // Erase: the file follows its name again.
    frmOverride again(program, lake, "25-Dec-26", "31", window.data());
    again.Redraw = [this](int themePos) { Files().UpdateScheduleFrame(themePos); };
    EXPECT_EQ(again.findChild<QComboBox*>("cmbEndingDate")->currentText(), "12/25");
    EXPECT_TRUE(again.findChild<QWidget*>("cmdErase")->isEnabled());
    EXPECT_EQ(again.Priority(), 1);
    again.Erase();
    EXPECT_TRUE(ReadOverride(program.AppPath, "Lake.jpg").OverrideText.isEmpty());
    EXPECT_FALSE(ProfileFile::ReadSection(program.AppPath + kOverrideFileName, "Lake.jpg", 512)
                     .join("")
                     .contains("x="));
    const ScheduleRow& after = Model().Row(Files().SelectedRow());
    EXPECT_EQ(ScheduleModel::Text(after, ScheduleModel::Days), " All");
    EXPECT_EQ(ScheduleModel::Text(after, ScheduleModel::Override), "");
}

}  // namespace
}  // namespace merivane
