#include "ui/frmStartup.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPixmap>

namespace merivane {

namespace {

// The original's sizes in twips.
constexpr int kNarrowTwips = 2955;
constexpr int kWideTwips = 6000;
constexpr int kHeightTwips = 2600;
constexpr int kEventNarrow = 160;  // pixels
constexpr int kEventWide = 350;

// The sheets' geometry in pixels: a sheet is 7 columns of cells, 6 rows, below the
// event's name, the month's name and the weekday headings.
constexpr int kMargin = 6;
constexpr int kCellWidth = 26;
constexpr int kCellHeight = 17;
constexpr int kSheetWidth = 7 * kCellWidth;
constexpr int kSheetGap = 20;
constexpr int kEventTop = 2;
constexpr int kMonthTop = 20;
constexpr int kDayNameTop = 38;
constexpr int kCellsTop = 54;

const char* const kDayNames[] = {"S", "M", "Tu", "W", "Th", "F", "S"};
const QColor kEventDay(0, 0, 192);

int SheetLeft(int sheet) {
    return kMargin + sheet * (kSheetWidth + kSheetGap);
}

}  // namespace

frmStartup::frmStartup(int twipsPerPixel, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_twipsPerPixel(twipsPerPixel > 0 ? twipsPerPixel : 15) {
    setObjectName(QStringLiteral("frmStartup"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette page = palette();
    page.setColor(QPalette::Window, Qt::white);
    page.setColor(QPalette::WindowText, Qt::black);
    setPalette(page);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("Press ESC key or click picture to make it disappear."));
    Image1->hide();

    QFont small = font();
    small.setPointSizeF(8);
    QFont bold = small;
    bold.setBold(true);

    lblEventName = new QLabel(this);
    lblEventName->setObjectName(QStringLiteral("lblEventName"));
    lblEventName->setFont(bold);
    lblEventName->setAlignment(Qt::AlignCenter);
    for (int sheet = 0; sheet < 2; ++sheet) {
        QLabel* month = new QLabel(this);
        month->setObjectName(QStringLiteral("lblMonthName(%1)").arg(sheet));
        month->setFont(bold);
        month->setAlignment(Qt::AlignCenter);
        month->setGeometry(SheetLeft(sheet), kMonthTop, kSheetWidth, 16);
        lblMonthName[static_cast<std::size_t>(sheet)] = month;
        for (int col = 0; col < 7; ++col) {
            QLabel* name = new QLabel(QString::fromLatin1(kDayNames[col]), this);
            const int index = sheet * 7 + col;
            name->setObjectName(QStringLiteral("lblDayName(%1)").arg(index));
            name->setFont(bold);
            name->setAlignment(Qt::AlignCenter);
            name->setGeometry(SheetLeft(sheet) + col * kCellWidth, kDayNameTop, kCellWidth, 14);
            lblDayName[static_cast<std::size_t>(index)] = name;
        }
        for (int cell = 0; cell < kCellsPerSheet; ++cell) {
            QLabel* day = new QLabel(this);
            const int index = sheet * kCellsPerSheet + cell;
            day->setObjectName(QStringLiteral("lblDay(%1)").arg(index));
            day->setFont(small);
            day->setAlignment(Qt::AlignCenter);
            day->setGeometry(SheetLeft(sheet) + (cell % 7) * kCellWidth, kCellsTop + (cell / 7) * kCellHeight,
                             kCellWidth, kCellHeight);
            lblDay[static_cast<std::size_t>(index)] = day;
        }
    }
    shaBox = new QFrame(this);
    shaBox->setObjectName(QStringLiteral("shaBox"));
    shaBox->setFrameShape(QFrame::Box);
    shaBox->setLineWidth(1);
    shaBox->setAttribute(Qt::WA_TransparentForMouseEvents);
    shaBox->hide();
    // A click on any label closes the window, as one on the window does.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->installEventFilter(this);
    }
}

void frmStartup::SetStartupPicture(const QString& path) {
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        m_startupPicture = path;
    }
}

void frmStartup::SetCalendarEvent(const QString& name) {
    lblEventName->setText(name);
}

void frmStartup::ShowCalendarControls(bool show, bool wide) {
    for (QLabel* label : lblMonthName) {
        label->setVisible(show);
    }
    for (std::size_t i = 0; i < lblDayName.size(); ++i) {
        lblDayName[i]->setVisible(show && (wide || i < 7));
    }
    for (std::size_t i = 0; i < lblDay.size(); ++i) {
        lblDay[i]->setVisible(show && (wide || i < kCellsPerSheet));
    }
    lblMonthName[1]->setVisible(show && wide);
    lblEventName->setVisible(show);
}

void frmStartup::ShowCalendar(SerialDate today) {
    if (m_calendarStartDate == 0) {
        m_calendarStartDate = today;
    }
    if (m_calendarEndDate == 0) {
        m_calendarEndDate = today;
    }
    Image1->hide();
    const QDate start = DateOfSerial(m_calendarStartDate);
    const QDate end = DateOfSerial(m_calendarEndDate);
    shaBox->hide();
    DrawSheet(0, m_calendarStartDate, today);
    const bool wide = start.year() != end.year() || start.month() != end.month();
    if (wide) {
        DrawSheet(1, m_calendarEndDate, today);
    }
    const int width = (wide ? kWideTwips : kNarrowTwips) / m_twipsPerPixel;
    const int eventWidth = wide ? kEventWide : kEventNarrow;
    lblEventName->setGeometry((width - eventWidth) / 2, kEventTop, eventWidth, 16);
    ShowCalendarControls(true, wide);
    setFixedSize(width, kHeightTwips / m_twipsPerPixel);
    unsetCursor();
    show();
    raise();
    activateWindow();
}

void frmStartup::DrawSheet(int sheet, SerialDate month, SerialDate today) {
    const QDate inMonth = DateOfSerial(month);
    const QDate first(inMonth.year(), inMonth.month(), 1);
    lblMonthName[static_cast<std::size_t>(sheet)]->setText(
        QLocale().monthName(first.month(), QLocale::LongFormat) + QStringLiteral("  ") +
        QString::number(first.year()));
    const int base = sheet * kCellsPerSheet;
    for (int cell = 0; cell < kCellsPerSheet; ++cell) {
        lblDay[static_cast<std::size_t>(base + cell)]->clear();
    }
    const int offset = first.dayOfWeek() % 7;  // Sunday first
    const QDate todayDate = DateOfSerial(today);
    const QDate startDate = DateOfSerial(m_calendarStartDate);
    const QDate endDate = DateOfSerial(m_calendarEndDate);
    for (int d = 0; d < first.daysInMonth(); ++d) {
        const QDate date = first.addDays(d);
        QLabel* cell = lblDay[static_cast<std::size_t>(base + offset + d)];
        cell->setText(QString::number(d + 1));
        QPalette colours = cell->palette();
        colours.setColor(QPalette::WindowText,
                         date >= startDate && date <= endDate ? kEventDay : QColor(Qt::black));
        cell->setPalette(colours);
        if (date == todayDate) {
            shaBox->setGeometry(cell->geometry());
            shaBox->show();
            shaBox->raise();
        }
    }
}

void frmStartup::ShowStartup() {
    const QPixmap picture(m_startupPicture);
    ShowCalendarControls(false, false);
    shaBox->hide();
    Image1->setPixmap(picture);
    Image1->setGeometry(0, 0, picture.width(), picture.height());
    Image1->show();
    Image1->raise();
    // The picture's pixels, as the original sized it through twips.
    setFixedSize(std::max(1, picture.width()), std::max(1, picture.height()));
    setCursor(Qt::BusyCursor);
    show();
    raise();
}

void frmStartup::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!Image1->isVisible()) {
        // A borderless sheet needs an edge of its own on a light desktop.
        QPainter painter(this);
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void frmStartup::mousePressEvent(QMouseEvent*) {
    close();
}

void frmStartup::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmStartup::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && isVisible()) {
        close();
    }
    return QWidget::event(event);
}

bool frmStartup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace merivane
