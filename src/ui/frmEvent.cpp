#include "ui/frmEvent.h"

#include "app/Program.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace merivane {

namespace {
QLineEdit* Field(const char* name, const char* tip, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (tip != nullptr) {
        edit->setToolTip(QString::fromLatin1(tip));
    }
    return edit;
}

// A whole number from -32768 to 32767, blanks around allowed.
std::optional<std::int16_t> SmallNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}
}  // namespace

const QStringList& frmEvent::TypeItems() {
    static const QStringList items = {QStringLiteral("0 - Sunday"),
                                      QStringLiteral("1 - Monday"),
                                      QStringLiteral("2 - Tuesday"),
                                      QStringLiteral("3 - Wednesday"),
                                      QStringLiteral("4 - Thursday"),
                                      QStringLiteral("5 - Friday"),
                                      QStringLiteral("6 - Saturday"),
                                      QStringLiteral("A - Advent"),
                                      QStringLiteral("B - Boxing Day"),
                                      QStringLiteral("C - Chinese New Year"),
                                      QStringLiteral("E - Easter Based"),
                                      QStringLiteral("H - Entire Month"),
                                      QStringLiteral("I - Islam (Ramadan)"),
                                      QStringLiteral("J - Jewish Date"),
                                      QStringLiteral("M - Monday Holiday"),
                                      QStringLiteral("S - Season/Equinox"),
                                      QStringLiteral("W - Weekend Exact Day"),
                                      QStringLiteral("X - Exact Date")};
    return items;
}

frmEvent::frmEvent(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("frmEvent"));
    setWindowTitle(QStringLiteral("Modify Event/Holiday"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_name = Field("txtEvent", nullptr, this);
    m_name->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Martin Luther King Jr. Day")) +
                            40);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cmbType"));
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    m_type->addItems(TypeItems());
    m_month = Field("txtMonth", "Month number using the calendar indicated by Type", this);
    m_day = Field("txtDayWeek", "Day of Month or Week number of month", this);
    m_shown = Field("txtDaysShown", "Days to display up to and including this date", this);
    m_keywords = Field("txtKeywords", "Enter words or parts of words separated by semicolons", this);
    form->addRow(QStringLiteral("Event/Holiday:"), m_name);
    form->addRow(QStringLiteral("Type:"), m_type);
    form->addRow(QStringLiteral("Month #:"), m_month);
    form->addRow(QStringLiteral("Day or Week:"), m_day);
    form->addRow(QStringLiteral("Days Shown:"), m_shown);
    form->addRow(QStringLiteral("Keywords:"), m_keywords);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);
    QObject::connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

void frmEvent::AddValues() {
    m_adding = true;
    for (QLineEdit* edit : {m_name, m_month, m_day, m_shown, m_keywords}) {
        edit->clear();
    }
    m_type->setCurrentIndex(m_type->count() - 1);
}

void frmEvent::ChangeValues(const EventRowText& row) {
    m_adding = false;
    m_name->setText(row.Name);
    m_type->setEditText(row.Type);
    m_month->setText(row.Month);
    m_day->setText(row.Day);
    m_shown->setText(row.Shown);
    m_keywords->setText(row.Keywords);
    const QString first = row.Type.left(1).toLower();
    for (int i = 0; i < m_type->count() && !first.isEmpty(); ++i) {
        if (m_type->itemText(i).left(1).toLower() == first) {
            m_type->setCurrentIndex(i);
            break;
        }
    }
}

void frmEvent::Ok() {
    struct Number {
        QLineEdit* Edit;
        const char* Label;
        std::int16_t EventRecord::*Field;
    };
    const Number numbers[] = {{m_month, "Month #", &EventRecord::Month},
                              {m_day, "Day or Week", &EventRecord::DayOrWeek},
                              {m_shown, "Days Shown", &EventRecord::DaysShown}};
    EventRecord record;
    for (const Number& number : numbers) {
        auto value = SmallNumber(number.Edit->text());
        if (!value) {
            // The table keeps 16-bit numbers: a text that is none would be stored as 0.
            m_program.Sys.Ui.MessageBox(QString::fromLatin1(number.Label) +
                                            QStringLiteral(" must be a whole number from -32768 to 32767."),
                                        QStringLiteral("Modify Event/Holiday"), MessageIcon::Exclamation);
            number.Edit->setFocus(Qt::OtherFocusReason);
            number.Edit->selectAll();
            return;
        }
        record.*number.Field = *value;
    }
    record.Name = m_name->text().trimmed();
    const QString type = m_type->currentText().trimmed();
    record.RuleType = type.isEmpty() ? QChar(u' ') : type.at(0).toLower();
    record.Keywords = m_keywords->text().toLower();
    m_record = record;
    accept();
}

}  // namespace merivane
