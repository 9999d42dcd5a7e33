#include "ui/frmMain.h"

#include "app/Program.h"
#include "print/Listing.h"
#include "selection/Catalogue.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"
#include "settings/Variant.h"
#include "ui/EventsTab.h"
#include "ui/FilesTab.h"
#include "ui/InfoTab.h"
#include "ui/SettingsTab.h"
#include "ui/WaitCursor.h"
#include "ui/frmPrint.h"
#include "ui/frmStartup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace merivane {

namespace {
struct TabSpec {
    int Frame;
    const char* Caption;
    const char* Help;
};

const TabSpec kTabs[] = {
    {1, "&Files/Themes", "To modify, right or double click a filename above."},
    {2, "&Events", "Event dates that Merivane will use if not overridden."},
    {3, "&Settings", "Make changes, then click the Save/Apply Settings button."},
    {4, "&Management", "Make changes, then click the Save Settings button."},
    {5, "&Info/About", "Recent statistics and program information."},
};

QString HelpLine(int frame) {
    for (const TabSpec& tab : kTabs) {
        if (tab.Frame == frame) {
            return QString::fromLatin1(tab.Help);
        }
    }
    return QString();
}

float PositionValue(RegOp& reg, const QString& name) {
    auto value = ParseNumberText(reg.Value(name).ToText());
    return value ? static_cast<float>(*value) : 0.0F;
}
}  // namespace

frmMain::frmMain(Program& program, QWidget* parent) : QMainWindow(parent), m_program(program) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Merivane - Desktop changes by event"));
    setWindowIcon(QIcon(QStringLiteral(":/merivane/icons/com.brennock.Merivane-64.png")));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(0);
    m_normal = new QTabBar(central);
    m_normal->setObjectName(QStringLiteral("tbsNormal"));
    m_expert = new QTabBar(central);
    m_expert->setObjectName(QStringLiteral("tbsExpert"));
    for (const TabSpec& tab : kTabs) {
        if (tab.Frame != 4) {
            m_normal->addTab(QString::fromLatin1(tab.Caption));
        }
        m_expert->addTab(QString::fromLatin1(tab.Caption));
    }
    for (QTabBar* strip : {m_normal, m_expert}) {
        strip->setDrawBase(true);
        strip->setExpanding(false);
        strip->installEventFilter(this);
        QObject::connect(strip, &QTabBar::currentChanged, this,
                         [this, strip](int position) { TabClicked(strip, position); });
        layout->addWidget(strip);
    }
    m_expert->hide();

    m_stack = new QStackedWidget(central);
    m_stack->setObjectName(QStringLiteral("fraTab"));
    auto* cover = new QLabel(QStringLiteral("Loading..."), m_stack);
    cover->setObjectName(QStringLiteral("fraTab(0)"));
    cover->setAlignment(Qt::AlignCenter);
    m_frames[0] = cover;
    m_files = new FilesTab(program, m_stack);
    m_frames[1] = m_files;
    m_events = new EventsTab(program, m_stack);
    m_frames[2] = m_events;
    m_events->TableSaved = [this] {
        // The next change, and the list, see the new events at once.
        RefreshFileWindows(m_program);
        m_files->LoadScheduleFrame(QString());
    };
    m_events->ShowCalendar = [this](SerialDate start, SerialDate end, const QString& name) {
        if (!m_calendar) {
            m_calendar = std::make_unique<frmStartup>(kTwipsPerPixel);
        }
        m_calendar->SetCalendarStartDate(start);
        m_calendar->SetCalendarEndDate(end);
        m_calendar->SetCalendarEvent(name);
        m_calendar->ShowCalendar(m_program.Sys.Time.Now());
    };
    m_settings = new SettingsTab(program, m_stack);
    m_frames[3] = m_settings;
    m_settings->ReloadFiles = [this] { m_files->LoadScheduleFrame(QString()); };
    m_settings->ExpertModeChanged = [this] { ApplyExpertMode(true); };
    m_management = new ManagementTab(program, m_stack);
    m_frames[4] = m_management;
    m_files->SetPrintHandler([this] { PrintFilesList(); });
    m_events->SetPrintHandler([this] { PrintEventList(); });
    PdfTarget = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Print to a PDF File"), suggested,
                                            QStringLiteral("PDF Files (*.pdf)"));
    };
    m_info = new InfoTab(program, m_stack);
    m_frames[5] = m_info;
    m_info->FocusStrip = [this] { (m_program.Setup.ExpertMode ? m_expert : m_normal)->setFocus(); };
    for (QWidget* frame : m_frames) {
        m_stack->addWidget(frame);
    }
    layout->addWidget(m_stack, 1);
    setCentralWidget(central);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    m_status = new QLabel(statusBar());
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(m_status, 1);

    setAttribute(Qt::WA_DeleteOnClose);
}

frmMain::~frmMain() {
    if (m_program.Status == this) {
        m_program.Status = nullptr;
    }
}

QString frmMain::StatusText() const {
    return m_status->text();
}

void frmMain::ShowStatus(const QString& text) {
    m_status->setText(text);
}

void frmMain::AppendStatus(const QString& text) {
    m_status->setText(m_status->text() + text);
    // The dots of a long scan show as they come.
    m_status->repaint();
}

void frmMain::Load() {
    WaitCursor wait;
    m_loading = true;
    m_program.Status = this;
    RegOp position(m_program.Sys);
    position.SetKey(kAppKey + QStringLiteral("\\Position"));
    m_program.Position.Top = PositionValue(position, QStringLiteral("Top"));
    m_program.Position.Left = PositionValue(position, QStringLiteral("Left"));
    const QPoint corner(qRound(m_program.Position.Left / kTwipsPerPixel),
                        qRound(m_program.Position.Top / kTwipsPerPixel));
    move(corner);
    m_stack->setCurrentWidget(Frame(0));
    SetShortcutCaptions();
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Once the window manager has framed the window its frame is known, and the frame
    // (not the inside) goes to the saved corner: a title bar above the screen's top
    // could not be grabbed. Window managers frame a window a little after it shows.
    for (int delay : {0, 100, 300, 1000}) {
        QTimer::singleShot(delay, this, [this, corner] {
            if (frameGeometry().topLeft() != corner && frameGeometry() != geometry()) {
                move(corner);
            }
        });
    }

    ShowStatus(QStringLiteral("Loading files/themes table..."));
    m_files->LoadScheduleFrame(m_program.LastChange.FileName);
    ShowStatus(QStringLiteral("Loading event/holiday table..."));
    m_events->SetYearText(QString::number(DateOfSerial(m_program.Sys.Time.Now()).year()));
    m_events->FillEventList();
    ShowStatus(QStringLiteral("Loading settings..."));
    m_settings->Fill();

    float height = PositionValue(position, QStringLiteral("Height"));
    float width = PositionValue(position, QStringLiteral("Width"));
    if (height < 1) {
        height = kFirstRunHeight;
    }
    if (width < 1) {
        width = kFirstRunWidth;
    }
    m_program.Position.Height = height;
    m_program.Position.Width = width;
    resize(qRound(width / kTwipsPerPixel), qRound(height / kTwipsPerPixel));

    ApplyExpertMode(false);
    m_stack->setCurrentWidget(Frame(1));
    m_currentTab = 1;
    m_loading = false;
    ShowStatus(HelpLine(1));
    m_files->ScrollToSelected();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (isMinimized()) {
        // The normal place and size are what is kept.
        showNormal();
    }
    m_program.Position.Top = static_cast<float>(y() * kTwipsPerPixel);
    m_program.Position.Left = static_cast<float>(x() * kTwipsPerPixel);
    m_program.Position.Height = static_cast<float>(height() * kTwipsPerPixel);
    m_program.Position.Width = static_cast<float>(width() * kTwipsPerPixel);
    SaveSettings(m_program, true, false, true);
    event->accept();
    // What follows (the program ends unless it stays resident) is the owner's, when the
    // window is gone.
}

void frmMain::SelectTab(int index) {
    if (index == m_currentTab || index < 1 || index > 5) {
        return;
    }
    m_stack->setCurrentWidget(Frame(index));
    m_currentTab = index;
    // A tab chosen here rather than by a click shows on the strip too.
    QTabBar* strip = m_program.Setup.ExpertMode ? m_expert : m_normal;
    const int position = strip == m_normal && index == 5 ? 3 : index - 1;
    if (position < strip->count() && strip->currentIndex() != position) {
        const QSignalBlocker block(strip);
        strip->setCurrentIndex(position);
    }
    ShowStatus(HelpLine(index));
    if (index == 4) {
        m_management->Fill();
    } else if (index == 5) {
        m_info->Fill();
    }
}

void frmMain::TabClicked(QTabBar* strip, int position) {
    if (m_loading || position < 0 || !strip->isVisible()) {
        return;
    }
    // The normal strip lacks Management: its fourth tab is Info/About.
    int frame = position + 1;
    if (strip == m_normal && frame == 4) {
        frame = 5;
    }
    SelectTab(frame);
}

void frmMain::ApplyExpertMode(bool reloadEvents) {
    const bool expert = m_program.Setup.ExpertMode;
    m_files->ApplyExpertMode(expert);
    m_events->ApplyExpertMode(expert);
    m_settings->ApplyExpertMode(expert);
    QTabBar* shown = expert ? m_expert : m_normal;
    QTabBar* other = expert ? m_normal : m_expert;
    // The same tab on the other strip: the frame shown, where that strip has it.
    int frame = m_currentTab > 0 ? m_currentTab : other->currentIndex() + 1;
    int position = frame - 1;
    if (!expert && frame == 5) {
        position = 3;
    } else if (!expert && frame == 4) {
        position = std::min(other->currentIndex(), shown->count() - 1);
    }
    other->hide();
    shown->show();
    {
        const QSignalBlocker block(shown);
        shown->setCurrentIndex(position);
    }
    TabClicked(shown, position);
    if (reloadEvents) {
        m_events->FillEventList();
    }
}

void frmMain::SetShortcutCaptions() {
    m_files->SetFavoriteCaption(QStringLiteral("&Favorite Mark/Unmark\tSpacebar"));
    m_events->SetCaption(EventsTab::kAdd, QStringLiteral("Add New Event\tIns"));
    m_events->SetCaption(EventsTab::kChange, QStringLiteral("Change Event Info\tSpacebar"));
    m_events->SetCaption(EventsTab::kDelete, QStringLiteral("Delete Event\tDel"));
    m_events->SetCaption(EventsTab::kCalendar, QStringLiteral("View Calendar Dates  \tCtrl+V"));
    m_events->SetCaption(EventsTab::kRefresh, QStringLiteral("Refresh List\tF5"));
}

void frmMain::RefreshCurrentTab() {
    switch (m_currentTab) {
        case 1:
            m_files->RefreshFileList();
            break;
        case 2:
            m_events->FillEventList();
            break;
        case 3:
            m_settings->Fill();
            break;
        case 4:
            m_management->Fill();
            break;
        case 5:
            m_info->Fill();
            break;
        default:
            break;
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_normal || watched == m_expert) && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5) {
        RefreshCurrentTab();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::PrintFilesList() {
    return PrintList(false);
}

bool frmMain::PrintEventList() {
    return PrintList(true);
}

bool frmMain::PrintList(bool events) {
    if (!m_print) {
        m_print = std::make_unique<frmPrint>(this);
    }
    m_print->ShowPrinterSetup(m_print->Printer().Printer, 1, true,
                              events ? frmPrint::kPortrait : frmPrint::kLandscape, false);
    m_print->setWindowTitle(events ? QStringLiteral("Print Event List")
                                   : QStringLiteral("Print Filename/Themes list"));
    // Wide enough for its caption: window managers cut a title rather than widen the window.
    m_print->setMinimumWidth(m_print->fontMetrics().horizontalAdvance(m_print->windowTitle()) + 160);
    m_print->exec();
    if (m_print->CancelRequested()) {
        return false;
    }
    const frmPrint::PrinterSetup& setup = m_print->Printer();
    const Listing listing =
        events ? EventsListing(m_events->Model().Rows(), m_events->YearShown())
               : FilesListing(m_files->Model().Rows(), setup.Orientation == frmPrint::kPortrait);
    QPrinter printer(QPrinter::HighResolution);
    if (setup.Printer == frmPrint::PdfEntry()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString name = events ? QStringLiteral("Merivane Events %1.pdf").arg(m_events->YearShown())
                                    : QStringLiteral("Merivane Files.pdf");
        const QString path = PdfTarget ? PdfTarget(documents + u'/' + name) : QString();
        if (path.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    } else {
        printer.setPrinterName(setup.Printer);
    }
    printer.setFullPage(true);  // twips count from the paper's corner
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setCopyCount(setup.Copies);
    printer.setColorMode(setup.BlackAndWhite ? QPrinter::GrayScale : QPrinter::Color);
    printer.setPageOrientation(setup.Orientation == frmPrint::kLandscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
    QWidget* button =
        findChild<QWidget*>(events ? QStringLiteral("cmdPrintHolidays") : QStringLiteral("cmdPrintSchedule"));
    if (button != nullptr) {
        button->setEnabled(false);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    bool printed = false;
    {
        WaitCursor wait;
        printed = PrintListing(printer, listing, m_program.Sys.Time.Now());
    }
    if (button != nullptr) {
        button->setEnabled(true);
    }
    if (printed) {
        ShowStatus(events ? QStringLiteral("Holiday list printed.")
                          : QStringLiteral("Filename/Themes list printed."));
    }
    return printed;
}

}  // namespace merivane
