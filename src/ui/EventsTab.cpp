#include "ui/EventsTab.h"

#include "app/Program.h"
#include "calendar/DateRules.h"
#include "calendar/EventTable.h"
#include "platform/SerialDate.h"
#include "ui/ListViews.h"
#include "ui/WaitCursor.h"
#include "ui/frmEvent.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace merivane {

namespace {
constexpr int kYearsBack = 10;
constexpr int kYearsAhead = 25;
constexpr int kRepaintEvery = 50;
constexpr int kFirstRuleColumn = EventModel::Type;
const QString kCrLf = QStringLiteral("\r\n");

// Twips of the rule columns, as pixels at 15 twips a pixel.
constexpr int kRuleWidths[] = {600 / 15, 650 / 15, 650 / 15, 700 / 15, 5000 / 15};

// The column whose text a header sorts by.
int KeyOf(int column) {
    switch (column) {
        case EventModel::StartsOn:
            return EventModel::StartHidden;
        case EventModel::EndsOn:
            return EventModel::EndHidden;
        default:
            return column;
    }
}
}  // namespace

const QStringList& EventModel::Headers() {
    static const QStringList headers = {
        QStringLiteral("Event/Holiday"), QStringLiteral("Starts On"),   QStringLiteral("Ends On"),
        QStringLiteral("Days"),          QStringLiteral("StartHidden"), QStringLiteral("End Hidden"),
        QStringLiteral("Type"),          QStringLiteral("Month"),       QStringLiteral("Day"),
        QStringLiteral("Shown"),         QStringLiteral("Keywords")};
    return headers;
}

QString EventModel::Text(const EventRowText& row, int column) {
    switch (column) {
        case Name:
            return row.Name;
        case StartsOn:
            return row.StartsOn;
        case EndsOn:
            return row.EndsOn;
        case Days:
            return row.Days;
        case StartHidden:
            return row.StartHidden;
        case EndHidden:
            return row.EndHidden;
        case Type:
            return row.Type;
        case Month:
            return row.Month;
        case Day:
            return row.Day;
        case Shown:
            return row.Shown;
        case Keywords:
            return row.Keywords;
        default:
            return QString();
    }
}

QVariant EventModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return Text(Row(index.row()), index.column());
    }
    if (role == Qt::TextAlignmentRole && index.column() == Days) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    }
    return {};
}

bool EventModel::Before(const EventRowText& a, const EventRowText& b) const {
    const int order = Text(a, m_sortKey).compare(Text(b, m_sortKey), Qt::CaseInsensitive);
    return m_order == Qt::AscendingOrder ? order < 0 : order > 0;
}

void EventModel::SortBy(int keyColumn, Qt::SortOrder order) {
    m_sortKey = keyColumn;
    m_order = order;
    Resort();
}

EventsTab::EventsTab(Program& program, QWidget* parent) : QFrame(parent), m_program(program) {
    setObjectName(QStringLiteral("fraTab(2)"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* yearLabel = new QLabel(QStringLiteral("Year:"), this);
    top->addWidget(yearLabel);
    m_yearBox = new QLineEdit(this);
    m_yearBox->setObjectName(QStringLiteral("txtYear"));
    m_yearBox->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    m_yearBox->installEventFilter(this);
    yearLabel->setBuddy(m_yearBox);
    top->addWidget(m_yearBox);
    m_spin = new QScrollBar(Qt::Vertical, this);
    m_spin->setObjectName(QStringLiteral("vscYear"));
    m_spin->setFixedHeight(m_yearBox->sizeHint().height());
    top->addWidget(m_spin);
    auto* recalc = new QPushButton(QStringLiteral("Recalc"), this);
    recalc->setObjectName(QStringLiteral("cmdYearRecalc"));
    top->addWidget(recalc);
    top->addStretch(1);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblEventCount"));
    top->addWidget(m_count);
    layout->addLayout(top);

    m_list = MakeReportList(QStringLiteral("lvwEvents"), &m_model, this, this);
    QHeaderView* header = m_list->header();
    header->setSortIndicator(EventModel::Name, Qt::AscendingOrder);
    const QFontMetrics metrics(font());
    header->resizeSection(EventModel::Name,
                          metrics.horizontalAdvance(QStringLiteral("Martin Luther King Jr. Day")) + 16);
    const int dateWidth = metrics.horizontalAdvance(QStringLiteral("Wednesday, September 30, 2026")) + 16;
    header->resizeSection(EventModel::StartsOn, dateWidth);
    header->resizeSection(EventModel::EndsOn, dateWidth);
    header->resizeSection(EventModel::Days, metrics.horizontalAdvance(QStringLiteral("Days")) + 28);
    for (int i = 0; i < 5; ++i) {
        header->resizeSection(
            kFirstRuleColumn + i,
            std::max(kRuleWidths[i],
                     metrics.horizontalAdvance(EventModel::Headers().at(kFirstRuleColumn + i)) + 24));
    }
    m_list->setColumnHidden(EventModel::StartHidden, true);
    m_list->setColumnHidden(EventModel::EndHidden, true);
    QObject::connect(header, &QHeaderView::sectionClicked, this,
                     [this](int column) { SortByColumn(column); });
    QObject::connect(header, &QHeaderView::sortIndicatorChanged, this, [this, header](int, Qt::SortOrder) {
        const QSignalBlocker block(header);
        header->setSortIndicator(m_sortColumn, m_model.SortOrder());
    });
    QObject::connect(m_list, &QTreeView::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (m_expert) {
            ShowEventPopup(m_list->viewport()->mapToGlobal(pos));
        }
    });
    QObject::connect(m_list, &QTreeView::doubleClicked, this,
                     [this](const QModelIndex&) { MenuCommand(kCalendar); });
    layout->addWidget(m_list, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_save = new QPushButton(QStringLiteral("Save Table"), this);
    m_save->setObjectName(QStringLiteral("cmdSaveTable"));
    m_save->setEnabled(false);
    buttons->addWidget(m_save);
    m_print = MakePrintButton(QStringLiteral("cmdPrintHolidays"), m_printHandler, this);
    buttons->addWidget(m_print);
    layout->addLayout(buttons);

    m_popup = new QMenu(QStringLiteral("Event Popup"), this);
    m_popup->setObjectName(QStringLiteral("mnuEventPopup"));
    const std::pair<int, const char*> items[] = {{kAdd, "&Add New event"},
                                                 {kChange, "&Change Event Info"},
                                                 {kDelete, "&Delete Event"},
                                                 {3, "-"},
                                                 {kCalendar, "&View Calendar Dates"},
                                                 {kRefresh, "Re&fresh List"}};
    for (const auto& [index, caption] : items) {
        QAction* action = QString::fromLatin1(caption) == QLatin1String("-")
                              ? m_popup->addSeparator()
                              : m_popup->addAction(QString::fromLatin1(caption));
        action->setObjectName(QStringLiteral("mnuEventPopup(%1)").arg(index));
        const int item = index;
        QObject::connect(action, &QAction::triggered, this, [this, item] { MenuCommand(item); });
        m_items[index] = action;
    }

    QObject::connect(recalc, &QPushButton::clicked, this, [this] { YearRecalc(); });
    QObject::connect(m_yearBox, &QLineEdit::returnPressed, this, [this] { YearRecalc(); });
    QObject::connect(m_spin, &QScrollBar::valueChanged, this,
                     [this](int value) { m_yearBox->setText(QString::number(-value)); });
    QObject::connect(m_save, &QPushButton::clicked, this, [this] { SaveTable(); });

    EditEvent = [this](int row, EventRecord& record) { return EditWithDialog(row, record); };
}

QAction* EventsTab::Action(int index) const {
    auto it = m_items.find(index);
    return it == m_items.end() ? nullptr : it->second;
}

void EventsTab::SetCaption(int index, const QString& caption) {
    if (QAction* action = Action(index)) {
        action->setText(caption);
    }
}

int EventsTab::CurrentYear() const {
    return DateOfSerial(m_program.Sys.Time.Now()).year();
}

void EventsTab::SetPrintHandler(std::function<void()> print) {
    m_printHandler = std::move(print);
    m_print->setEnabled(static_cast<bool>(m_printHandler));
}

void EventsTab::SetYearText(const QString& text) {
    m_yearBox->setText(text);
}

int EventsTab::SelectedRow() const {
    return SelectedRowOf(*m_list);
}

void EventsTab::SelectRow(int row) {
    SelectRowOf(*m_list, row);
}

void EventsTab::FillEventList() {
    const int current = CurrentYear();
    bool ok = false;
    int year = m_yearBox->text().trimmed().toInt(&ok);
    if (!ok || year < current - kYearsBack || year > current + kYearsAhead) {
        // The fill needs a year the list can show: the one shown, else this year.
        year = m_year != 0 ? m_year : current;
        m_yearBox->setText(QString::number(year));
    }
    m_year = year;
    WaitCursor wait;
    {
        const QSignalBlocker block(m_spin);
        m_spin->setRange(-(current + kYearsAhead), -(current - kYearsBack));
        m_spin->setValue(-year);
    }
    if (!m_expert && m_model.SortKey() >= kFirstRuleColumn) {
        m_sortColumn = EventModel::Name;
        m_model.SortBy(EventModel::Name, m_model.SortOrder());
        const QSignalBlocker block(m_list->header());
        m_list->header()->setSortIndicator(m_sortColumn, m_model.SortOrder());
    }
    m_model.SetRows(EventRowsOfYear(m_program, year));
    m_count->setText(QStringLiteral("%1 events listed").arg(m_model.rowCount()));
}

void EventsTab::YearRecalc() {
    const QString text = m_yearBox->text().trimmed();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok) {
        m_program.ShowStatus(QStringLiteral("Year is not numeric!"));
        m_yearBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    int year = static_cast<int>(number);
    if (year < 100) {
        year += year < 51 ? 2000 : 1900;
        m_yearBox->setText(QString::number(year));
    }
    const int current = CurrentYear();
    if (year > current + kYearsAhead || year < current - kYearsBack) {
        m_program.ShowStatus(QStringLiteral("Year must be between %1 and %2")
                                 .arg(current - kYearsBack)
                                 .arg(current + kYearsAhead));
        m_yearBox->setStyleSheet(QStringLiteral("color: red;"));
    } else {
        m_yearBox->setStyleSheet(QString());
        m_yearBox->setText(QString::number(year));
        FillEventList();
        m_program.ShowStatus(QStringLiteral("Year %1 events/holidays displayed").arg(year));
    }
    m_yearBox->setFocus(Qt::OtherFocusReason);
}

void EventsTab::SortByColumn(int column) {
    const bool sortable = column <= EventModel::Days || (m_expert && column >= kFirstRuleColumn);
    if (column < 0 || !sortable) {
        const QSignalBlocker block(m_list->header());
        m_list->header()->setSortIndicator(m_sortColumn, m_model.SortOrder());
        return;
    }
    Qt::SortOrder order = Qt::AscendingOrder;
    if (column == m_sortColumn) {
        order = m_model.SortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    m_sortColumn = column;
    m_model.SortBy(KeyOf(column), order);
    {
        const QSignalBlocker block(m_list->header());
        m_list->header()->setSortIndicator(column, order);
    }
    m_program.ShowStatus(QStringLiteral("Events/Holidays list is sorted by the %1 column (%2).")
                             .arg(EventModel::Headers().at(column), order == Qt::AscendingOrder
                                                                        ? QStringLiteral("ascending")
                                                                        : QStringLiteral("descending")));
    if (m_program.Setup.KeepRowVisible && SelectedRow() >= 0) {
        m_list->scrollTo(m_model.index(SelectedRow(), 0));
    }
}

void EventsTab::ApplyExpertMode(bool expert) {
    m_expert = expert;
    for (int column = kFirstRuleColumn; column < EventModel::kColumnCount; ++column) {
        m_list->setColumnHidden(column, !expert);
    }
    if (!expert && m_sortColumn >= kFirstRuleColumn) {
        m_sortColumn = EventModel::Name;
        m_model.SortBy(EventModel::Name, m_model.SortOrder());
        const QSignalBlocker block(m_list->header());
        m_list->header()->setSortIndicator(m_sortColumn, m_model.SortOrder());
    }
}

void EventsTab::ShowEventPopup(const QPoint& globalPos) {
    m_popup->popup(globalPos);
}

void EventsTab::UseItem(int index) {
    QAction* action = Action(index);
    if (action != nullptr && action->isVisible() && action->isEnabled()) {
        MenuCommand(index);
    }
}

bool EventsTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_yearBox && event->type() == QEvent::MouseButtonPress) {
        QTimer::singleShot(0, m_yearBox, [this] { m_yearBox->selectAll(); });
    }
    if (watched != m_list || event->type() != QEvent::KeyPress) {
        return QFrame::eventFilter(watched, event);
    }
    const int item =
        ItemForKey(*static_cast<QKeyEvent*>(event), {{Qt::Key_Insert, Qt::NoModifier, kAdd},
                                                     {Qt::Key_Space, Qt::NoModifier, kChange},
                                                     {Qt::Key_Delete, Qt::NoModifier, kDelete},
                                                     {Qt::Key_F5, Qt::NoModifier, kRefresh},
                                                     {Qt::Key_V, Qt::ControlModifier, kCalendar}});
    if (item < 0) {
        return QFrame::eventFilter(watched, event);
    }
    if (m_expert || item == kRefresh) {
        UseItem(item);
    }
    return true;
}

bool EventsTab::EditWithDialog(int row, EventRecord& record) {
    frmEvent editor(m_program, window());
    if (row < 0) {
        editor.AddValues();
    } else {
        editor.ChangeValues(m_model.Row(row));
    }
    if (editor.exec() != QDialog::Accepted) {
        return false;
    }
    record = editor.Record();
    return true;
}

void EventsTab::MenuCommand(int index) {
    if (index == kRefresh) {
        FillEventList();
        return;
    }
    const int row = SelectedRow();
    if (index != kCalendar) {
        m_save->setEnabled(true);
    }
    switch (index) {
        case kAdd:
        case kChange: {
            if (index == kChange && row < 0) {
                return;
            }
            EventRecord record;
            if (!EditEvent || !EditEvent(index == kAdd ? -1 : row, record)) {
                return;
            }
            const EventRowText text = FillEventRow(
                record, EventDateForYear(record, QString::number(m_year), RuleContextOf(m_program)));
            const int placed = m_model.PutRow(index == kAdd ? -1 : row, text);
            SelectRow(placed);
            if (index == kAdd || m_program.Setup.KeepRowVisible) {
                m_list->scrollTo(m_model.index(placed, 0));
            }
            break;
        }
        case kDelete: {
            if (row < 0) {
                return;
            }
            const MessageResult answer =
                m_program.Sys.Ui.MessageBox(QStringLiteral("Are you sure you want to delete the event:") +
                                                kCrLf + m_model.Row(row).Name + QStringLiteral("?"),
                                            QStringLiteral("Confirm Delete"), MessageIcon::Question,
                                            MessageButtons::YesNo, MessageResult::No);
            if (answer == MessageResult::Yes) {
                m_model.RemoveRowAt(row);
                SelectRow(row);
            }
            break;
        }
        case kCalendar: {
            if (row < 0) {
                return;
            }
            const EventRowText& shown = m_model.Row(row);
            bool startOk = false;
            bool endOk = false;
            const qint64 start = shown.StartHidden.trimmed().toLongLong(&startOk);
            const qint64 end = shown.EndHidden.trimmed().toLongLong(&endOk);
            if (startOk && endOk && end > 0 && ShowCalendar) {
                ShowCalendar(static_cast<SerialDate>(start), static_cast<SerialDate>(end), shown.Name);
            }
            break;
        }
        default:
            break;
    }
}

void EventsTab::SaveTable() {
    WaitCursor wait;
    m_save->setEnabled(false);
    // The rows go to the file in order of their names, in the list's direction.
    std::vector<EventRowText> rows = m_model.Rows();
    const Qt::SortOrder order = m_model.SortOrder();
    std::stable_sort(rows.begin(), rows.end(), [order](const EventRowText& a, const EventRowText& b) {
        const int c = a.Name.compare(b.Name, Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    std::vector<EventRow> table;
    table.reserve(rows.size());
    for (const EventRowText& row : rows) {
        table.push_back({row.Name, row.Type, row.Month, row.Day, row.Shown, row.Keywords});
    }
    if (!SaveEventTable(m_program, table)) {
        m_save->setEnabled(true);
        return;
    }
    if (TableSaved) {
        TableSaved();
    }
}

}  // namespace merivane
