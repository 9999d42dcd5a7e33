#include "app/Program.h"
#include "calendar/EventTable.h"
#include "print/Listing.h"
#include "selection/ScheduleRows.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"
#include "ui/frmMain.h"
#include "ui/frmPrint.h"

#include <QComboBox>
#include <QFile>
#include <QPdfWriter>
#include <QPointer>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// What poppler reads back from a PDF: its text, its page count, and where a word stands.
class PdfReader {
  public:
    static bool Available() {
        return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
               !QStandardPaths::findExecutable("pdfinfo").isEmpty();
    }
    static QString Run(const QString& program, const QStringList& args) {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static QString Text(const QString& pdf) { return Run("pdftotext", {"-layout", pdf, "-"}); }
    static int Pages(const QString& pdf) {
        auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(Run("pdfinfo", {pdf}));
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    // The left edge, in points, of the first word that is `word`; -1 when none is.
    static double Left(const QString& pdf, const QString& word) {
        const QString boxes = Run("pdftotext", {"-bbox", pdf, "-"});
        auto match = QRegularExpression(R"re(<word xMin="([\d.]+)"[^>]*>)re" +
                                        QRegularExpression::escape(word) + "</word>")
                         .match(boxes);
        return match.hasMatch() ? match.captured(1).toDouble() : -1;
    }
};

class PrintingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!PdfReader::Available()) {
            GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) are not installed";
        }
    }
    QString Pdf(const QString& name) { return dir.filePath(name); }
    // A listing printed as merivanectl prints it: A4, the page's corner as the origin.
    QString PrintToPdf(const Listing& listing, const QString& name) {
        const QString path = Pdf(name);
        QPdfWriter writer(path);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageOrientation(listing.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
        EXPECT_TRUE(PrintListing(writer, listing, *SerialFromYmd(2026, 12, 14)));
        return path;
    }
    static Listing Rows(int count, bool portrait) {
        std::vector<ScheduleRow> rows;
        for (int i = 0; i < count; ++i) {
            ScheduleRow row;
            row.Name = QStringLiteral("Row%1.jpg").arg(i, 3, 10, QChar(u'0'));
            row.DaysShown = 999;
            row.OverrideText = QStringLiteral("12/25");
            rows.push_back(row);
        }
        return FilesListing(rows, portrait);
    }

    QTemporaryDir dir;
};

TEST_F(PrintingTest, AnEmptyListingEndsAnEmptyDocument) {
    const QString pdf = PrintToPdf(Rows(0, false), "empty.pdf");
    EXPECT_EQ(PdfReader::Pages(pdf), 1);
    EXPECT_TRUE(PdfReader::Text(pdf).trimmed().isEmpty());
}

TEST_F(PrintingTest, OnePageHasOneFooterAndLandscapeAddsTheOverrideDates) {
    const QString landscape = PdfReader::Text(PrintToPdf(Rows(3, false), "landscape.pdf"));
    EXPECT_TRUE(landscape.contains("Merivane Files/Themes Listing"));
    EXPECT_EQ(landscape.count("Page 1 of 1"), 1);
    EXPECT_TRUE(landscape.contains("Printed on Monday, December 14, 2026"));
    for (const char* heading :
         {"Filename", "Type", "Fav", "Starting", "Ending", "Days", "Override", "Override Date(s)"}) {
        EXPECT_TRUE(landscape.contains(heading)) << heading;
    }
    EXPECT_TRUE(landscape.contains("12/25"));
    const QString portrait = PdfReader::Text(PrintToPdf(Rows(3, true), "portrait.pdf"));
    EXPECT_FALSE(portrait.contains("Override Date(s)"));
    EXPECT_FALSE(portrait.contains("12/25"));
}

TEST_F(PrintingTest, PagesAreNumberedFromTheRowsThatFitTheFirstPage) {
    const QString pdf = PrintToPdf(Rows(100, true), "hundred.pdf");
    const QString text = PdfReader::Text(pdf);
    const int pages = PdfReader::Pages(pdf);
    ASSERT_GT(pages, 1);
    // As many rows on the first page as the total says, and every page numbered of it.
    const int firstPageRows = text.left(text.indexOf("Page 1 of")).count(".jpg");
    EXPECT_EQ(pages, static_cast<int>(100.0 / firstPageRows + 0.99));
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages))) << page;
    }
    EXPECT_EQ(text.count("Merivane Files/Themes Listing"), pages);
}

TEST_F(PrintingTest, HeadingsAndRowsStandWhereTheirTwipsPlaceThem) {
    const QString pdf = PrintToPdf(Rows(2, false), "places.pdf");
    EXPECT_NEAR(PdfReader::Left(pdf, "Filename"), 440 / 20.0, 0.6);
    EXPECT_NEAR(PdfReader::Left(pdf, "Row000.jpg"), 440 / 20.0, 0.6);
    EXPECT_NEAR(PdfReader::Left(pdf, "Type"), 5700 / 20.0, 0.6);
    EXPECT_NEAR(PdfReader::Left(pdf, "Fav"), 6800 / 20.0, 0.6);
    EXPECT_NEAR(PdfReader::Left(pdf, "Wallpaper"), 5700 / 20.0, 0.6);
    EXPECT_NEAR(PdfReader::Left(pdf, "12/25"), 11500 / 20.0, 0.6);
}

// The print dialog and the window's print buttons.
class PrintDialogTest : public PrintingTest {
  protected:
    void SetUp() override {
        PrintingTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        sys.PlaceIn(program);
        sys.clock.now = *SerialFromYmd(2026, 12, 14) + 0.5;
        sys.WriteFile(sys.Home().Home + kEventTableFileName, "Christmas\tx\t12\t25\t14\txmas\r\n");
        LoadSettings(program);
        LoadEventTable(program);
        window = new frmMain(program);
        window->Load();
        window->PdfTarget = [this](const QString&) { return Pdf("window.pdf"); };
    }
    void TearDown() override { delete window.data(); }

    test::TestPlatform sys;
    Program program{sys.Get()};
    QPointer<frmMain> window;
};

TEST_F(PrintDialogTest, CopiesOutsideOneToNinetyNineLeaveThePrinterAsItWas) {
    frmPrint dialog;
    auto* copies = dialog.findChild<QComboBox*>("cmbCopies");
    EXPECT_EQ(copies->count(), 10);
    EXPECT_EQ(dialog.findChild<QComboBox*>("cmbPrinters")
                  ->itemText(dialog.findChild<QComboBox*>("cmbPrinters")->count() - 1),
              frmPrint::PdfEntry());
    struct Case {
        const char* Typed;
        int Copies;
    };
    for (const Case& c : {Case{"3", 3}, Case{"150", 3}, Case{"0", 3}, Case{"two", 3}, Case{"99", 99}}) {
        dialog.ShowPrinterSetup(frmPrint::PdfEntry(), 1, true, frmPrint::kLandscape, true);
        EXPECT_FALSE(dialog.findChild<QRadioButton*>("optPortrait")->isEnabled());
        copies->setEditText(c.Typed);
        dialog.OkSetup();
        EXPECT_EQ(dialog.Printer().Copies, c.Copies) << c.Typed;
        EXPECT_EQ(dialog.Printer().Orientation, frmPrint::kLandscape);
        EXPECT_FALSE(dialog.CancelRequested());
    }
}

TEST_F(PrintDialogTest, CancelPrintsNothingAndOkPrintsTheListShown) {
    bool asked = false;
    QTimer::singleShot(0, [&] {
        asked = true;
        window->PrintDialog()->Cancel();
    });
    EXPECT_FALSE(window->PrintEventList());
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QFile::exists(Pdf("window.pdf")));
    EXPECT_EQ(window->PrintDialog()->windowTitle(), "Print Event List");

    QTimer::singleShot(0, [&] { window->PrintDialog()->OkSetup(); });
    EXPECT_TRUE(window->PrintEventList());
    EXPECT_EQ(window->StatusText(), "Holiday list printed.");
    const QString text = PdfReader::Text(Pdf("window.pdf"));
    EXPECT_TRUE(text.contains("Merivane Events Listing for 2026"));
    EXPECT_TRUE(text.contains("Christmas"));
    EXPECT_TRUE(text.contains("Page 1 of 1"));
}

}  // namespace
}  // namespace merivane
