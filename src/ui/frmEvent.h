#pragma once

#include "calendar/EventRecord.h"
#include "calendar/Matching.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace merivane {

struct Program;

// The event editor: the six fields of one event as text.
class frmEvent final : public QDialog {
  public:
    explicit frmEvent(Program& program, QWidget* parent = nullptr);

    // Empty fields for a new event, of type "X - Exact Date".
    void AddValues();
    // The fields of a row of the Events list.
    void ChangeValues(const EventRowText& row);
    bool Adding() const { return m_adding; }
    // OK: the record is built; numbers that are no 16-bit whole numbers are refused with
    // a message and the dialog stays open.
    void Ok();
    // The record as OK built it.
    const EventRecord& Record() const { return m_record; }

    static const QStringList& TypeItems();

  private:
    Program& m_program;
    bool m_adding = false;
    EventRecord m_record;
    QLineEdit* m_name = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_month = nullptr;
    QLineEdit* m_day = nullptr;
    QLineEdit* m_shown = nullptr;
    QLineEdit* m_keywords = nullptr;
};

}  // namespace merivane
