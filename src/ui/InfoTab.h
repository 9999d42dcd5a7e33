#pragma once

#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;

namespace merivane {

struct Program;

// The Info/About tab: what Merivane is, what it did last and will do next, and how often.
class InfoTab final : public QFrame {
  public:
    explicit InfoTab(Program& program, QWidget* parent = nullptr);

    // Fills every label from the settings and statistics.
    void Fill();
    // A change now, from the window.
    void ChangeNow();
    // The buttons.
    void ChangeRightNow();
    void RunThemeManager();
    void RestoreIcons();

    // The statistic line for T changes over D days.
    static QString StatisticLine(int changes, int days);
    // Days since the install, the install day counting as the first.
    static int DayCount(double today, double installDate);

    // Where the focus goes while a button works (the visible tab strip).
    std::function<void()> FocusStrip;

  private:
    QLabel* Value(const char* name);

    Program& m_program;
    QPushButton* m_changeNow = nullptr;
    QPushButton* m_runIt = nullptr;
    QPushButton* m_restore = nullptr;
};

}  // namespace merivane
