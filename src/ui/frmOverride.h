#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;

namespace merivane {

struct Program;

// The override dialog: one file's own dates in place of its name's event.
class frmOverride final : public QDialog {
  public:
    // For the file `fullName` whose row shows `endDate` and `days`.
    frmOverride(Program& program, const QString& fullName, const QString& endDate, const QString& days,
                QWidget* parent = nullptr);

    // Redraws the row of a catalogue entry after its override was saved.
    std::function<void(int themePos)> Redraw;

    // Validates and, when all is well, saves and closes (the OK button).
    void Ok();
    // Erases the override and closes.
    void Erase();
    QString StatusText() const;
    int Priority() const { return m_priority; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void EndingDateDone();
    void UpdateOk();
    void Fail(QWidget* field, const QString& message);
    void Save();
    static void Paint(QWidget* field, bool red);

    Program& m_program;
    QString m_fullName;
    QString m_fileName;
    bool m_isTheme = false;
    int m_priority = 0;
    bool m_syncing = false;

    QComboBox* m_ending = nullptr;
    QLineEdit* m_days = nullptr;
    QScrollBar* m_spin = nullptr;
    QRadioButton* m_exclusive = nullptr;
    QRadioButton* m_priorityOption = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_erase = nullptr;
    QStatusBar* m_status = nullptr;
};

}  // namespace merivane
