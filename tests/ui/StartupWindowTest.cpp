#include "ui/frmStartup.h"

#include "support/TestPlatform.h"
#include "ui/StartupLogoWindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace merivane {
namespace {

SerialDate Day(int y, unsigned m, unsigned d) {
    return *SerialFromYmd(y, m, d);
}

class StartupWindowTest : public ::testing::Test {
  protected:
    QLabel* Label(const QString& name) { return window.findChild<QLabel*>(name); }
    QLabel* Cell(int index) { return Label(QStringLiteral("lblDay(%1)").arg(index)); }
    bool Blue(int index) { return Cell(index)->palette().color(QPalette::WindowText) == QColor(0, 0, 192); }
    QFrame* Frame() { return window.findChild<QFrame*>("shaBox"); }

    frmStartup window;
};

TEST_F(StartupWindowTest, AnEventOverNewYearShowsBothMonthsWithItsDaysInBlue) {
    ASSERT_FALSE(QFontDatabase::families().isEmpty());
    window.SetCalendarStartDate(Day(2026, 12, 28));
    window.SetCalendarEndDate(Day(2027, 1, 2));
    window.SetCalendarEvent("New Year");
    window.ShowCalendar(Day(2026, 12, 30));
    EXPECT_EQ(window.size(), QSize(6000 / 15, 2600 / 15));
    EXPECT_EQ(Label("lblMonthName(0)")->text(), "December  2026");
    EXPECT_EQ(Label("lblMonthName(1)")->text(), "January  2027");
    EXPECT_EQ(Label("lblEventName")->text(), "New Year");
    EXPECT_EQ(Label("lblEventName")->width(), 350);
    EXPECT_EQ(Label("lblDayName(0)")->text(), "S");
    EXPECT_EQ(Label("lblDayName(9)")->text(), "Tu");
    // 1 December 2026 is a Tuesday (cell 2); 1 January 2027 a Friday (cell 42 + 5).
    EXPECT_EQ(Cell(0)->text(), "");
    EXPECT_EQ(Cell(2)->text(), "1");
    EXPECT_EQ(Cell(32)->text(), "31");
    EXPECT_EQ(Cell(47)->text(), "1");
    for (int cell = 2; cell <= 32; ++cell) {
        EXPECT_EQ(Blue(cell), cell >= 2 + 27) << cell;  // 28 to 31 December
    }
    EXPECT_TRUE(Blue(47) && Blue(48));
    EXPECT_FALSE(Blue(49));
    ASSERT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->geometry(), Cell(2 + 29)->geometry());  // today, 30 December
}

TEST_F(StartupWindowTest, AnEventInOneMonthShowsOneSheetAndTodayOnlyWhenItIsThere) {
    window.SetCalendarStartDate(Day(2026, 11, 22));
    window.SetCalendarEndDate(Day(2026, 11, 28));
    window.ShowCalendar(Day(2026, 12, 10));
    EXPECT_EQ(window.size(), QSize(2955 / 15, 2600 / 15));
    EXPECT_EQ(Label("lblEventName")->width(), 160);
    EXPECT_FALSE(Label("lblMonthName(1)")->isVisible());
    EXPECT_FALSE(Cell(42)->isVisible());
    EXPECT_FALSE(Frame()->isVisible());  // December is not drawn

    // Three months: the first and the last are drawn.
    window.SetCalendarStartDate(Day(2026, 3, 21));
    window.SetCalendarEndDate(Day(2026, 6, 19));
    window.ShowCalendar(Day(2026, 6, 1));
    EXPECT_EQ(Label("lblMonthName(0)")->text(), "March  2026");
    EXPECT_EQ(Label("lblMonthName(1)")->text(), "June  2026");
    EXPECT_TRUE(Frame()->isVisible());
}

TEST_F(StartupWindowTest, ThePictureSizesTheWindowAndAnyClickOrEscapeClosesIt) {
    test::TestPlatform sys;
    QImage logo(320, 200, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    const QString file = sys.Scratch("logo.png");
    ASSERT_TRUE(logo.save(file));
    window.SetStartupPicture(file);
    window.SetStartupPicture(sys.Scratch("missing.png"));  // names no file: the old one stays
    EXPECT_EQ(window.StartupPicture(), file);
    window.ShowStartup();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(320, 200));
    EXPECT_EQ(window.cursor().shape(), Qt::BusyCursor);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());

    window.ShowStartup();
    QTest::mouseClick(window.findChild<QLabel*>("Image1"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(StartupLogo, ShowsOnlyAPictureThatExists) {
    test::TestPlatform sys;
    StartupLogoWindow logo(sys.env, 15);
    logo.SetStartupPicture(sys.Scratch("missing.png"));
    logo.ShowStartup();  // nothing to show: no window
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->objectName() == "frmStartup" && w->isVisible(); }));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(sys.Scratch("logo.png"));
    logo.SetStartupPicture(sys.Scratch("logo.png"));
    logo.ShowStartup();
    auto shown = [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == "frmStartup" && w->isVisible()) {
                return w->size();
            }
        }
        return QSize();
    };
    EXPECT_EQ(shown(), QSize(64, 48));
    logo.Close();
    EXPECT_EQ(shown(), QSize());
}

}  // namespace
}  // namespace merivane
