#pragma once

#include "platform/SerialDate.h"

#include <QLabel>
#include <QWidget>

#include <array>

class QFrame;

namespace merivane {

// The small borderless window of the start-up logo (a theme's picture while a change runs)
// and of an event's calendar dates (one or two month sheets, the event's days in dark blue,
// today framed). Any click, Escape, or losing the focus closes it.
class frmStartup final : public QWidget {
  public:
    // `twipsPerPixel` sizes the window as the original's twips do (15 at 96 dots per inch).
    explicit frmStartup(int twipsPerPixel = 15, QWidget* parent = nullptr);

    // Keeps the path only when it names an existing file.
    void SetStartupPicture(const QString& path);
    QString StartupPicture() const { return m_startupPicture; }
    void SetCalendarStartDate(SerialDate date) { m_calendarStartDate = date; }
    void SetCalendarEndDate(SerialDate date) { m_calendarEndDate = date; }
    void SetCalendarEvent(const QString& name);
    // `today` is the day whose cell gets the frame (the clock's, in the program).
    void ShowCalendar(SerialDate today);
    void ShowStartup();

    static constexpr int kCellsPerSheet = 42;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void DrawSheet(int sheet, SerialDate month, SerialDate today);
    void ShowCalendarControls(bool show, bool wide);

    int m_twipsPerPixel;
    QString m_startupPicture;
    SerialDate m_calendarStartDate = 0;
    SerialDate m_calendarEndDate = 0;

    QLabel* Image1;
    std::array<QLabel*, 2> lblMonthName{};
    std::array<QLabel*, 14> lblDayName{};
    std::array<QLabel*, 2 * kCellsPerSheet> lblDay{};
    QLabel* lblEventName;
    QFrame* shaBox;
};

}  // namespace merivane
