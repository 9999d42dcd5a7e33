#include "ui/frmOverride.h"

#include "app/Program.h"
#include "calendar/Matching.h"
#include "calendar/Overrides.h"
#include "platform/Paths.h"
#include "selection/Catalogue.h"
#include "ui/WaitCursor.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace merivane {

namespace {
constexpr int kMaxDays = 999;
constexpr int kMaxPriorityDays = 31;

QLabel* Named(QLabel* label, const char* name) {
    label->setObjectName(QString::fromLatin1(name));
    return label;
}
}  // namespace

frmOverride::frmOverride(Program& program, const QString& fullName, const QString& endDate,
                         const QString& days, QWidget* parent)
    : QDialog(parent), m_program(program), m_fullName(fullName) {
    setObjectName(QStringLiteral("frmOverride"));
    setWindowTitle(QStringLiteral("Override Date Info"));
    setModal(true);
    m_fileName = FileNameOf(fullName).trimmed();
    m_isTheme = fullName.toLower().contains(QStringLiteral(".theme"));

    auto* layout = new QVBoxLayout(this);
    auto* current = new QFormLayout;
    auto* name = Named(new QLabel(m_fileName, this), "lblFilename");
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    current->addRow(
        Named(new QLabel(m_isTheme ? QStringLiteral("Theme:") : QStringLiteral("Wallpaper:"), this),
              "lblThemeOrWallpaper"),
        name);
    current->addRow(new QLabel(QStringLiteral("Ending Date:"), this),
                    Named(new QLabel(endDate, this), "lblEndingDate"));
    current->addRow(new QLabel(QStringLiteral("Days to show:"), this),
                    Named(new QLabel(days.trimmed(), this), "lblDays"));
    layout->addLayout(current);

    auto* frame = new QGroupBox(QStringLiteral("Override with this information"), this);
    frame->setObjectName(QStringLiteral("fraOverride"));
    auto* inner = new QVBoxLayout(frame);
    auto* endingLabel =
        new QLabel(QStringLiteral("Ending Month, Season, Month && Day, or  Holiday/Event:"), frame);
    inner->addWidget(endingLabel);
    m_ending = new QComboBox(frame);
    m_ending->setObjectName(QStringLiteral("cmbEndingDate"));
    m_ending->setEditable(true);
    m_ending->setInsertPolicy(QComboBox::NoInsert);
    m_ending->setMaxVisibleItems(20);
    m_ending->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_ending->setMinimumContentsLength(28);
    endingLabel->setBuddy(m_ending);
    inner->addWidget(m_ending);

    auto* daysRow = new QHBoxLayout;
    auto* daysLabel = new QLabel(QStringLiteral("Days to show:"), frame);
    daysRow->addWidget(daysLabel);
    m_days = new QLineEdit(frame);
    m_days->setObjectName(QStringLiteral("txtDays"));
    m_days->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    daysLabel->setBuddy(m_days);
    daysRow->addWidget(m_days);
    m_spin = new QScrollBar(Qt::Vertical, frame);
    m_spin->setObjectName(QStringLiteral("vsrDays"));
    m_spin->setRange(0, kMaxDays - 1);  // days 999 down to 1
    m_spin->setValue(kMaxDays - 1);
    m_spin->setFixedHeight(m_days->sizeHint().height());
    daysRow->addWidget(m_spin);
    daysRow->addStretch(1);
    inner->addLayout(daysRow);

    m_exclusive = new QRadioButton(QStringLiteral("Show EXCLUSIVELY during this time period"), frame);
    m_exclusive->setObjectName(QStringLiteral("optPriority(0)"));
    m_priorityOption = new QRadioButton(
        QStringLiteral("Show anytime, but give it PRIORITY during the time period listed above"), frame);
    m_priorityOption->setObjectName(QStringLiteral("optPriority(1)"));
    inner->addWidget(m_exclusive);
    inner->addWidget(m_priorityOption);
    layout->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("    OK     (Save It)"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_erase = new QPushButton(QStringLiteral("Erase Override"), this);
    m_erase->setObjectName(QStringLiteral("cmdErase"));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_erase);
    layout->addLayout(buttons);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    layout->addWidget(m_status);

    // Opening: the list, then the file's override if it has one.
    m_ending->addItem(QStringLiteral("*** Any Day ***"));
    m_ending->addItem(QStringLiteral("*** Do Not Use ***"));
    for (const EventRecord& event : m_program.Events) {
        m_ending->addItem(event.Name);
    }
    m_ending->setCurrentIndex(-1);
    m_ending->setEditText(QString());
    const OverrideEntry entry = ReadOverride(m_program.AppPath, m_fileName);
    if (!entry.OverrideText.isEmpty()) {
        m_ending->setEditText(entry.OverrideText);
        m_days->setText(QString::number(entry.DaysShown));
    }
    m_erase->setEnabled(!entry.OverrideText.isEmpty());
    m_priority = entry.Priority == 1 ? 1 : 0;
    (m_priority == 1 ? m_priorityOption : m_exclusive)->setChecked(true);
    const int shown = m_days->text().toInt();
    if (shown >= 1 && shown <= kMaxDays) {
        m_spin->setValue(kMaxDays - shown);
    }

    m_ending->lineEdit()->installEventFilter(this);
    m_ending->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    m_days->installEventFilter(this);
    QObject::connect(m_ending, &QComboBox::editTextChanged, this, [this] { UpdateOk(); });
    QObject::connect(m_ending, &QComboBox::activated, this,
                     [this] { m_days->setFocus(Qt::OtherFocusReason); });
    QObject::connect(m_days, &QLineEdit::textChanged, this, [this](const QString& text) {
        bool number = false;
        const int value = text.trimmed().toInt(&number);
        if (number && value >= 1 && value <= kMaxDays && !m_syncing) {
            m_syncing = true;
            m_spin->setValue(kMaxDays - value);
            m_syncing = false;
        }
        UpdateOk();
    });
    QObject::connect(m_spin, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_syncing) {
            return;
        }
        m_syncing = true;
        m_days->setText(QString::number(kMaxDays - value));
        m_syncing = false;
    });
    QObject::connect(m_exclusive, &QRadioButton::clicked, this, [this] {
        m_priority = 0;
        UpdateOk();
    });
    QObject::connect(m_priorityOption, &QRadioButton::clicked, this, [this] {
        m_priority = 1;
        UpdateOk();
    });
    QObject::connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    QObject::connect(m_erase, &QPushButton::clicked, this, [this] { Erase(); });
    m_ok->setEnabled(false);
}

QString frmOverride::StatusText() const {
    return m_status->currentMessage();
}

bool frmOverride::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ending->lineEdit()) {
        if (event->type() == QEvent::KeyPress && !m_program.Setup.ExpertMode) {
            // Outside expert mode the ending is picked from the list: typed text and
            // pasting are dropped, the keys that move and pick still work.
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            if (key->matches(QKeySequence::Paste) ||
                (!text.isEmpty() && text.at(0).unicode() >= 20 && text.at(0).unicode() != 127)) {
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            EndingDateDone();
        }
    } else if (watched == m_days && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, m_days, [this] { m_days->setSelection(0, 3); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmOverride::EndingDateDone() {
    const QString text = m_ending->currentText().trimmed();
    if (m_ending->currentText() != text) {
        m_ending->setEditText(text);
    }
    if (text.isEmpty()) {
        return;
    }
    const EventWindow window = ParseEndingDateList(m_program, text, true);
    if (window.DaysShown < 1000) {
        m_days->setText(QString::number(window.DaysShown));
    }
}

void frmOverride::UpdateOk() {
    m_ok->setEnabled(!m_ending->currentText().isEmpty() && !m_days->text().isEmpty());
}

void frmOverride::Paint(QWidget* field, bool red) {
    field->setStyleSheet(red ? QStringLiteral("background-color: red; color: white;") : QString());
}

void frmOverride::Fail(QWidget* field, const QString& message) {
    Paint(field, true);
    m_status->showMessage(message);
    field->setFocus(Qt::OtherFocusReason);
}

void frmOverride::Ok() {
    Paint(m_ending, false);
    Paint(m_days, false);
    if (m_ending->currentText().trimmed().isEmpty()) {
        Fail(m_ending, QStringLiteral("Ending Date must be entered"));
        return;
    }
    const QString daysText = m_days->text().trimmed();
    if (daysText.isEmpty()) {
        Fail(m_days, QStringLiteral("Days to show must be entered"));
        return;
    }
    bool number = false;
    const double value = daysText.toDouble(&number);
    if (!number || !std::isfinite(value)) {
        Fail(m_days, QStringLiteral("Days to show must be a number"));
        return;
    }
    if (m_priority == 1 && value >= kMaxPriorityDays + 1) {
        Fail(m_days,
             QStringLiteral("Priority Days to show must be 1 to ") + QString::number(kMaxPriorityDays));
        return;
    }
    const double days = value < 0 ? 0 : (value > kMaxDays ? kMaxDays : std::nearbyint(value));
    m_days->setText(QString::number(static_cast<int>(days)));
    Save();
    accept();
}

void frmOverride::Erase() {
    m_ending->setEditText(QString());
    m_days->clear();
    Save();
    accept();
}

void frmOverride::Save() {
    WaitCursor wait;
    m_status->showMessage(QStringLiteral("Saving Information..."));
    const QString ending = m_ending->currentText().trimmed();
    const QString daysText = m_days->text().trimmed();
    OverrideEntry entry;
    entry.Priority = static_cast<std::int16_t>(m_priority);
    entry.DaysShown = static_cast<std::int16_t>(daysText.toInt());
    entry.OverrideText = ending;
    WriteOverride(m_program.AppPath, m_fileName, entry);
    const int found = FindCatalogueEntry(m_program, m_fullName);
    if (found < 0) {
        return;
    }
    FileEntry& file = m_program.Catalogue[static_cast<size_t>(found)];
    file.OverrideText = ending;
    if (!daysText.isEmpty()) {
        file.DaysShown = entry.DaysShown;
    }
    file.Priority = entry.Priority;
    ComputeFileWindow(m_program, file);
    if (Redraw) {
        Redraw(found);
    }
}

}  // namespace merivane
