#pragma once

#include "calendar/EventRecord.h"
#include "calendar/Matching.h"

#include "ui/SortedRowsModel.h"

#include <QFrame>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTreeView;

namespace merivane {

struct Program;

// The list `lvwEvents`: the year's schedule of the event table, one row of texts per event.
class EventModel final : public SortedRowsModel<EventRowText> {
  public:
    static constexpr int kColumnCount = 11;
    enum Column { Name, StartsOn, EndsOn, Days, StartHidden, EndHidden, Type, Month, Day, Shown, Keywords };
    static const QStringList& Headers();
    static QString Text(const EventRowText& row, int column);

    using SortedRowsModel::SortedRowsModel;
    QVariant data(const QModelIndex& index, int role) const override;

    // Sorts by the text of one column (the hidden day counts stand in for the dates).
    void SortBy(int keyColumn, Qt::SortOrder order);
    int SortKey() const { return m_sortKey; }
    Qt::SortOrder SortOrder() const { return m_order; }

  protected:
    bool Before(const EventRowText& a, const EventRowText& b) const override;
    const QStringList& HeaderTexts() const override { return Headers(); }

  private:
    int m_sortKey = Name;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

// The Events tab: the year's holidays and events, and in expert mode the table's editor.
class EventsTab final : public QFrame {
  public:
    enum Item { kAdd = 0, kChange = 1, kDelete = 2, kCalendar = 4, kRefresh = 5 };

    explicit EventsTab(Program& program, QWidget* parent = nullptr);

    void FillEventList();
    // The Recalc button (and Enter in the year box).
    void YearRecalc();
    // A click on a column header.
    void SortByColumn(int column);
    void MenuCommand(int index);
    void ShowEventPopup(const QPoint& globalPos);
    void SaveTable();
    // The rule columns and the editing follow the mode.
    void ApplyExpertMode(bool expert);
    void SetCaption(int index, const QString& caption);
    void SetYearText(const QString& text);
    // What "Print List" does; the button is disabled while nothing is set.
    void SetPrintHandler(std::function<void()> print);
    int YearShown() const { return m_year; }

    // After the table was saved and loaded again: the catalogue's windows follow it.
    std::function<void()> TableSaved;
    // What the editor does with a row; a modal dialog by default. Given the row (-1 to
    // add), it fills the record to put in and says whether OK was chosen.
    std::function<bool(int row, EventRecord& record)> EditEvent;
    // What shows an event's days on the calendar window.
    std::function<void(SerialDate start, SerialDate end, const QString& name)> ShowCalendar;

    QTreeView* List() const { return m_list; }
    EventModel& Model() { return m_model; }
    QMenu* Popup() const { return m_popup; }
    QAction* Action(int index) const;
    QPushButton* SaveButton() const { return m_save; }
    QLineEdit* YearBox() const { return m_yearBox; }
    QScrollBar* YearSpin() const { return m_spin; }
    int SelectedRow() const;
    void SelectRow(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UseItem(int index);
    int CurrentYear() const;
    bool EditWithDialog(int row, EventRecord& record);

    Program& m_program;
    EventModel m_model;
    int m_sortColumn = EventModel::Name;  // the header the list is sorted by
    int m_year = 0;
    bool m_expert = false;
    QTreeView* m_list = nullptr;
    QLineEdit* m_yearBox = nullptr;
    QScrollBar* m_spin = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_print = nullptr;
    std::function<void()> m_printHandler;
    QLabel* m_count = nullptr;
    QMenu* m_popup = nullptr;
    std::map<int, QAction*> m_items;
};

}  // namespace merivane
