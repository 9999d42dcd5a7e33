#pragma once

#include "platform/SerialDate.h"

#include <QString>

#include <array>

namespace merivane {

struct ScheduleState;

// What the resident window is shown through: the tray icon, the clock and the windows
// above it. The Qt side implements it; tests record the calls.
class ResidentPorts {
  public:
    virtual ~ResidentPorts() = default;
    // Puts the icon into the notification area (or, when it is there, changes it in place).
    virtual void AddTrayIcon(const QString& toolTip, bool suspended) = 0;
    virtual void RemoveTrayIcon() = 0;
    // While running, frmHidden::Tick is called every 500 ms.
    virtual void SetClockRunning(bool running) = 0;
    virtual void ShowSetupWindow() = 0;
    // Ends the program (the event loop) at once.
    virtual void EndProgram() = 0;
};

// The never-shown window through which the program stays resident: the tray icon, its
// pop-up menu and the clock that changes when the next change is due.
class frmHidden {
  public:
    static constexpr int kClockIntervalMs = 500;
    // The notification codes the icon's mouse messages carry.
    static constexpr int kDoubleClick = 0x203;
    static constexpr int kRightButtonUp = 0x205;

    // An item of the pop-up menu `mnuPopup`, by its index.
    struct PopupItem {
        int Index;
        QString Caption;
        bool Visible = true;
        bool Checked = false;
    };
    static constexpr int kOpen = 0;
    static constexpr int kApplyNewTheme = 2;
    static constexpr int kSuspend = 3;
    static constexpr int kRestoreIcons = 7;
    static constexpr int kExit = 9;

    frmHidden(ScheduleState& state, ResidentPorts& ports);

    void StartAutoScheduler();
    void StopAutoScheduler();
    // The clock's tick.
    void Tick();
    // The icon's mouse message (double click, right button up); other codes are ignored.
    void MouseEvent(int code);
    // Before the pop-up menu shows: "&Restore Icon Positions" follows KeepIconPositions.
    void MenuAboutToShow();
    void MenuCommand(int index);

    bool ClockEnabled() const { return m_clockEnabled; }
    bool IconShown() const { return m_iconShown; }
    // Whether the program stays alive for this window (its clock runs or its icon shows).
    bool Resident() const { return m_clockEnabled || m_iconShown; }
    const std::array<PopupItem, 7>& mnuPopup() const { return m_menu; }
    const PopupItem* Item(int index) const;

    static QString Caption() { return QStringLiteral("Not to be viewed...work only"); }

    SerialDate NextChangeTime = 0;
    int LastHour = 0;

  private:
    void AddTrayIcon();
    void RemoveTrayIcon();
    void SetClock(bool enabled);
    PopupItem& MenuItem(int index);

    ScheduleState& m_state;
    ResidentPorts& m_ports;
    bool m_clockEnabled = false;
    bool m_iconShown = false;
    std::array<PopupItem, 7> m_menu;
};

// Ports for a program that shows nothing (the scripting tool): every call does nothing.
class NoResidentPorts final : public ResidentPorts {
  public:
    void AddTrayIcon(const QString&, bool) override {}
    void RemoveTrayIcon() override {}
    void SetClockRunning(bool) override {}
    void ShowSetupWindow() override {}
    void EndProgram() override {}
};

}  // namespace merivane
