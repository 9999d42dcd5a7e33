#include "app/Program.h"
#include "calendar/EventTable.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"
#include "ui/EventsTab.h"
#include "ui/FilesTab.h"
#include "ui/InfoTab.h"
#include "ui/frmEvent.h"
#include "ui/frmMain.h"
#include "ui/frmStartup.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace merivane {
namespace {

const char* const kTable =
    "Christmas\tx\t12\t25\t14\txmas\r\n"
    "Easter\te\t0\t1\t7\tbunny\r\n"
    "Leap Day\tx\t2\t29\t1\t\r\n"
    "Halloween\tx\t10\t31\t14\tpumpkin\r\n";

class EventsTabTest : public ::testing::Test {
  protected:
    EventsTabTest() {
        sys.PlaceIn(program);
        sys.clock.now = *SerialFromYmd(2026, 12, 14) + 0.5;
        sys.WriteFile(sys.Home().Home + kEventTableFileName, kTable);
        LoadSettings(program);
        program.Setup.WallpaperPath = sys.Scratch("pictures/");
        program.Setup.FilesToUse = 2;
        LoadEventTable(program);
        window = new frmMain(program);
        window->Load();
    }
    ~EventsTabTest() override { delete window.data(); }

    EventsTab& Events() { return window->Events(); }
    QStringList Column(int column) {
        QStringList texts;
        for (int row = 0; row < Events().Model().rowCount(); ++row) {
            texts << EventModel::Text(Events().Model().Row(row), column);
        }
        return texts;
    }
    int RowOf(const QString& name) { return Column(EventModel::Name).indexOf(name); }
    void Expert(bool on) {
        program.Setup.ExpertMode = on;
        window->ApplyExpertMode(false);
    }
    // The editor as a user fills it: the dialog itself, its fields typed into, then OK.
    void EditWith(const QString& name, const QString& type, const QString& month, const QString& day,
                  const QString& shown, const QString& keywords) {
        Events().EditEvent = [=, this](int row, EventRecord& record) {
            frmEvent editor(program, window.data());
            if (row < 0) {
                editor.AddValues();
            } else {
                editor.ChangeValues(Events().Model().Row(row));
            }
            editor.findChild<QLineEdit*>("txtEvent")->setText(name);
            auto* types = editor.findChild<QComboBox*>("cmbType");
            types->setCurrentIndex(types->findText(type));
            editor.findChild<QLineEdit*>("txtMonth")->setText(month);
            editor.findChild<QLineEdit*>("txtDayWeek")->setText(day);
            editor.findChild<QLineEdit*>("txtDaysShown")->setText(shown);
            editor.findChild<QLineEdit*>("txtKeywords")->setText(keywords);
            editor.Ok();
            record = editor.Record();
            return editor.result() == QDialog::Accepted;
        };
    }

    test::TestPlatform sys;
    Program program{sys.Get()};
    QPointer<frmMain> window;
};

TEST_F(EventsTabTest, TheYearBoxTakesTwoDigitYearsAndRefusesYearsOutOfRange) {
    EXPECT_EQ(Events().YearBox()->text(), "2026");
    EXPECT_EQ(window->findChild<QLabel*>("lblEventCount")->text(), "4 events listed");
    Events().SetYearText("24");
    Events().YearRecalc();
    EXPECT_EQ(Events().YearShown(), 2024);
    EXPECT_EQ(Events().YearBox()->text(), "2024");
    EXPECT_EQ(window->StatusText(), "Year 2024 events/holidays displayed");
    // 2024 has a 29 February.
    EXPECT_EQ(EventModel::Text(Events().Model().Row(RowOf("Leap Day")), EventModel::Days), "   1");

    Events().SetYearText("51");
    Events().YearRecalc();
    EXPECT_EQ(Events().YearBox()->text(), "1951");
    EXPECT_EQ(Events().YearShown(), 2024);
    EXPECT_EQ(window->StatusText(), "Year must be between 2016 and 2051");
    EXPECT_TRUE(Events().YearBox()->styleSheet().contains("red"));

    Events().SetYearText("next");
    Events().YearRecalc();
    EXPECT_EQ(window->StatusText(), "Year is not numeric!");

    // The spin bar's up arrow goes forward in time.
    Events().SetYearText("2030");
    Events().YearRecalc();
    Events().YearSpin()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Events().YearBox()->text(), "2031");
}

TEST_F(EventsTabTest, StartsOnSortsByDateWithUndefinedRowsFirst) {
    Events().SortByColumn(EventModel::StartsOn);
    // 2026 has no 29 February: that row is undefined and comes first.
    EXPECT_EQ(Column(EventModel::Name), (QStringList{"Leap Day", "Easter", "Halloween", "Christmas"}));
    EXPECT_EQ(EventModel::Text(Events().Model().Row(0), EventModel::StartsOn), kUndefinedHoliday);
    EXPECT_EQ(window->StatusText(), "Events/Holidays list is sorted by the Starts On column (ascending).");
    Events().SortByColumn(EventModel::StartsOn);
    EXPECT_EQ(Column(EventModel::Name).first(), "Christmas");
    EXPECT_EQ(window->StatusText(), "Events/Holidays list is sorted by the Starts On column (descending).");
}

TEST_F(EventsTabTest, RuleColumnsComeWithExpertModeAndTheirSortGoesWithIt) {
    EXPECT_TRUE(Events().List()->isColumnHidden(EventModel::Keywords));
    Expert(true);
    EXPECT_FALSE(Events().List()->isColumnHidden(EventModel::Keywords));
    Events().SortByColumn(EventModel::Keywords);
    EXPECT_EQ(Column(EventModel::Name).first(), "Leap Day");  // no keywords
    Expert(false);
    EXPECT_TRUE(Events().List()->isColumnHidden(EventModel::Keywords));
    EXPECT_EQ(Events().Model().SortKey(), EventModel::Name);
    EXPECT_EQ(Column(EventModel::Name), (QStringList{"Christmas", "Easter", "Halloween", "Leap Day"}));
}

TEST_F(EventsTabTest, EditingIsForExpertsAndDeletingTheLastRowLeavesNoSelection) {
    Events().SelectRow(RowOf("Leap Day"));
    QTest::keyClick(Events().List(), Qt::Key_Delete);
    EXPECT_EQ(Events().Model().rowCount(), 4);  // outside expert mode
    EXPECT_TRUE(sys.dialogs.messages.empty());

    Expert(true);
    sys.dialogs.answers = {MessageResult::No};
    QTest::keyClick(Events().List(), Qt::Key_Delete);
    EXPECT_EQ(Events().Model().rowCount(), 4);
    EXPECT_EQ(sys.dialogs.messages.back().Title, "Confirm Delete");
    EXPECT_EQ(sys.dialogs.messages.back().Text, "Are you sure you want to delete the event:\r\nLeap Day?");
    EXPECT_TRUE(Events().SaveButton()->isEnabled());

    sys.dialogs.answers = {MessageResult::Yes};
    QTest::keyClick(Events().List(), Qt::Key_Delete);
    EXPECT_EQ(Column(EventModel::Name), (QStringList{"Christmas", "Easter", "Halloween"}));
    EXPECT_EQ(Events().SelectedRow(), -1);

    Events().SelectRow(0);
    sys.dialogs.answers = {MessageResult::Yes};
    QTest::keyClick(Events().List(), Qt::Key_Delete);
    EXPECT_EQ(EventModel::Text(Events().Model().Row(Events().SelectedRow()), EventModel::Name), "Easter");
}

TEST_F(EventsTabTest, TheEditorShowsTheRowsTypeAndAddsAnEquinoxWithLowerCaseKeywords) {
    frmEvent editor(program, window.data());
    editor.ChangeValues(Events().Model().Row(RowOf("Easter")));
    EXPECT_EQ(editor.findChild<QComboBox*>("cmbType")->currentText(), "E - Easter Based");
    EXPECT_EQ(editor.findChild<QComboBox*>("cmbType")->count(), 18);
    editor.AddValues();
    EXPECT_EQ(editor.findChild<QComboBox*>("cmbType")->currentText(), "X - Exact Date");
    EXPECT_TRUE(editor.findChild<QLineEdit*>("txtEvent")->text().isEmpty());

    Expert(true);
    EditWith("  Spring Equinox ", "S - Season/Equinox", "0", "0", "2", "Snow;ICE ");
    Events().MenuCommand(EventsTab::kAdd);
    const int row = Events().SelectedRow();
    ASSERT_GE(row, 0);
    const EventRowText& added = Events().Model().Row(row);
    EXPECT_EQ(added.Name, "Spring Equinox");
    EXPECT_EQ(added.Type, "s");
    EXPECT_EQ(added.Keywords, "snow;ice ");
    EXPECT_TRUE(added.StartsOn.contains("20")) << added.StartsOn.toStdString();
    EXPECT_TRUE(added.StartsOn.contains("March")) << added.StartsOn.toStdString();
    EXPECT_TRUE(added.EndsOn.contains("21")) << added.EndsOn.toStdString();
    EXPECT_EQ(Events().Model().rowCount(), 5);
}

TEST_F(EventsTabTest, NumbersThatAreNoSixteenBitWholeNumbersKeepTheEditorOpen) {
    for (const char* month : {"", "3.5", "40000", "twelve"}) {
        frmEvent editor(program, window.data());
        editor.AddValues();
        editor.findChild<QLineEdit*>("txtEvent")->setText("Odd");
        editor.findChild<QLineEdit*>("txtMonth")->setText(month);
        editor.findChild<QLineEdit*>("txtDayWeek")->setText("1");
        editor.findChild<QLineEdit*>("txtDaysShown")->setText("1");
        editor.Ok();
        EXPECT_NE(editor.result(), QDialog::Accepted) << month;
        EXPECT_TRUE(sys.dialogs.messages.back().Text.startsWith("Month # must be a whole number")) << month;
    }
}

TEST_F(EventsTabTest, ASavedEventPutsAFileNamedAfterItInSeason) {
    sys.WriteFile(program.Setup.WallpaperPath + "Hanukkah Candles.jpg", "x");
    window->Files().RefreshFileList();
    ASSERT_EQ(program.Catalogue.size(), 1U);
    EXPECT_EQ(program.Catalogue[0].DaysShown, 999);  // names no event yet

    Expert(true);
    EditWith("Hanukkah", "X - Exact Date", "12", "20", "8", "");
    Events().MenuCommand(EventsTab::kAdd);
    // Not before the table is saved.
    EXPECT_EQ(program.Catalogue[0].DaysShown, 999);
    Events().SaveTable();
    EXPECT_FALSE(Events().SaveButton()->isEnabled());
    EXPECT_EQ(window->StatusText(), "Holiday table was saved.  Reloading...");
    ASSERT_EQ(program.Events.size(), 5U);
    EXPECT_EQ(program.Events.front().Name, "Christmas");  // written in order of names
    EXPECT_EQ(program.Catalogue[0].DaysShown, 8);
    EXPECT_EQ(program.Catalogue[0].EndDate, *SerialFromYmd(2026, 12, 20));
    EXPECT_EQ(ScheduleModel::Text(window->Files().Model().Row(0), ScheduleModel::Days), "   8");
}

TEST_F(EventsTabTest, ADoubleClickShowsTheEventsDaysOnTheCalendar) {
    const int christmas = RowOf("Christmas");
    Events().SelectRow(christmas);
    Events().MenuCommand(EventsTab::kCalendar);
    ASSERT_NE(window->Calendar(), nullptr);
    EXPECT_TRUE(window->Calendar()->isVisible());
    EXPECT_EQ(window->Calendar()->findChild<QLabel*>("lblEventName")->text(), "Christmas");
    EXPECT_EQ(window->Calendar()->findChild<QLabel*>("lblMonthName(0)")->text(), "December  2026");

    // An undefined row has no days to show.
    SerialDate shownStart = 0;
    Events().ShowCalendar = [&](SerialDate start, SerialDate, const QString&) { shownStart = start; };
    Events().SelectRow(RowOf("Leap Day"));
    Events().MenuCommand(EventsTab::kCalendar);
    EXPECT_EQ(shownStart, 0);
    Events().SelectRow(christmas);
    Events().MenuCommand(EventsTab::kCalendar);
    EXPECT_EQ(shownStart, *SerialFromYmd(2026, 12, 12));
}

class InfoTabTest : public EventsTabTest {
  protected:
    QString Label(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    void Show() {
        window->SelectTab(1);
        window->SelectTab(5);
    }
};

TEST_F(InfoTabTest, StatisticsInTheirThreeFormsAndTheDayCount) {
    struct Case {
        int DaysAgo;
        int Changes;
        const char* Line;
        bool DayCount;
    };
    const Case cases[] = {
        {0, 0, "To get statistics, you need to make at least one theme change.", false},
        {10, 4, "So, that means the program makes a theme change once every 2.75 days!", true},
        {2, 3, "In other words, that's 1.00 theme changes per day!", false},
        {4, 1, "So, that means the program makes a theme change once every 5.00 days!", true},
    };
    for (const Case& c : cases) {
        program.InstallDate = WholeDays(sys.clock.now) - c.DaysAgo;
        program.TotalThemeChanges = c.Changes;
        Show();
        EXPECT_EQ(Label("lblChangesPerDayMsg"), c.Line) << c.DaysAgo;
        EXPECT_EQ(Label("lblTotalThemeChanges"), QString::number(c.Changes));
        EXPECT_EQ(Label("lblInstallDate").endsWith(QStringLiteral("   (%1 days)").arg(c.DaysAgo + 1)),
                  c.DayCount)
            << Label("lblInstallDate").toStdString();
    }
}

TEST_F(InfoTabTest, NothingDoneAndNothingPlannedShowsNone) {
    program.Setup.TypeOfScheduling = 0;
    Show();
    EXPECT_EQ(window->StatusText(), "Recent statistics and program information.");
    EXPECT_EQ(Label("lblNextThemeChange"), "(none)");
    EXPECT_EQ(Label("lblLastChangedDate"), "(none)");
    EXPECT_EQ(Label("lblPreviousChangeDate"), "(none)");
    EXPECT_EQ(Label("lblLastTheme"), "(none)");
    EXPECT_EQ(Label("lblBuild"), "Build: 31-Jul-04");
    EXPECT_TRUE(Label("lblVersion").startsWith("Version: "));
    EXPECT_FALSE(window->findChild<QPushButton*>("cmdRunThemeMgr")->isEnabled());
    EXPECT_FALSE(window->findChild<QPushButton*>("cmdRestoreIcons")->isVisible());

    program.Setup.TypeOfScheduling = 1;
    program.Setup.KeepIconPositions = true;
    Show();
    EXPECT_NE(Label("lblNextThemeChange"), "(none)");
    EXPECT_TRUE(window->findChild<QPushButton*>("cmdRestoreIcons")->isVisible());
}

TEST_F(InfoTabTest, ChangingNowChangesAndFillsTheTabAgain) {
    sys.WriteFile(program.Setup.WallpaperPath + "Lake.jpg", "x");
    Show();
    window->Info().ChangeRightNow();
    EXPECT_EQ(program.TotalThemeChanges, 1);
    EXPECT_EQ(Label("lblTotalThemeChanges"), "1");
    EXPECT_EQ(Label("lblLastTheme"), "Lake.jpg");
    EXPECT_EQ(window->StatusText(), "Changed to: Lake.jpg");
}

}  // namespace
}  // namespace merivane
