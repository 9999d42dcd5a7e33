#include "schedule/HiddenWindow.h"

#include "apply/Effects.h"
#include "schedule/NextChange.h"
#include "schedule/ScheduleState.h"
#include "selection/Choice.h"
#include "settings/DateText.h"

namespace merivane {

namespace {
int HourOf(SerialDate serial) {
    return DateTimeOfSerial(serial).time().hour();
}
}  // namespace

frmHidden::frmHidden(ScheduleState& state, ResidentPorts& ports)
    : m_state(state),
      m_ports(ports),
      m_menu{{{kOpen, QStringLiteral("&Open...")},
              {1, QStringLiteral("-")},
              {kApplyNewTheme, QStringLiteral("&Apply New Theme")},
              {kSuspend, QStringLiteral("&Suspend Changes")},
              {kRestoreIcons, QStringLiteral("&Restore Icon Positions")},
              {8, QStringLiteral("-")},
              {kExit, QStringLiteral("&Exit")}}} {}

const frmHidden::PopupItem* frmHidden::Item(int index) const {
    for (const PopupItem& item : m_menu) {
        if (item.Index == index) {
            return &item;
        }
    }
    return nullptr;
}

frmHidden::PopupItem& frmHidden::MenuItem(int index) {
    return const_cast<PopupItem&>(*Item(index));
}

void frmHidden::SetClock(bool enabled) {
    m_clockEnabled = enabled;
    m_ports.SetClockRunning(enabled);
}

void frmHidden::AddTrayIcon() {
    QString tip = m_clockEnabled
                      ? QStringLiteral("Merivane - Next change at ") + MediumTimeText(NextChangeTime)
                      : QStringLiteral("Merivane - Changes suspended");
    m_iconShown = true;
    m_ports.AddTrayIcon(tip, !m_clockEnabled);
}

void frmHidden::RemoveTrayIcon() {
    m_iconShown = false;
    m_ports.RemoveTrayIcon();
}

void frmHidden::StartAutoScheduler() {
    LastHour = HourOf(m_state.Sys.Time.Now());
    NextChangeTime = CalcNextChangeTime(m_state);
    if (!m_clockEnabled) {
        SetClock(true);
        AddTrayIcon();
    }
}

void frmHidden::StopAutoScheduler() {
    if (m_clockEnabled) {
        SetClock(false);
        RemoveTrayIcon();
    }
}

void frmHidden::Tick() {
    if (!m_clockEnabled || m_state.Setup.TypeOfScheduling != 2) {
        return;
    }
    // A change started by an earlier tick or the menu is still running (it lets events
    // run while it waits): NextChangeTime is not recomputed yet, so this tick would start
    // a second one.
    if (m_state.ChangeInProgress) {
        return;
    }
    const SerialDate now = m_state.Sys.Time.Now();
    if (now < NextChangeTime) {
        if (LastHour != HourOf(now)) {
            LastHour = HourOf(now);
            RemoveTrayIcon();
            AddTrayIcon();
        }
        return;
    }
    CheckAndChange(m_state, false);
    LastHour = HourOf(now);
    NextChangeTime = CalcNextChangeTime(m_state);
    if (!m_clockEnabled && !m_iconShown) {
        return;  // the program was told to end while the change ran
    }
    RemoveTrayIcon();
    AddTrayIcon();
    if (DateOfSerial(now) != DateOfSerial(NextChangeTime)) {
        m_state.ResetCatalogue();
    }
}

void frmHidden::MouseEvent(int code) {
    if (code == kDoubleClick) {
        m_ports.ShowSetupWindow();
    } else if (code == kRightButtonUp) {
        MenuAboutToShow();
    }
}

void frmHidden::MenuAboutToShow() {
    MenuItem(kRestoreIcons).Visible = m_state.Setup.KeepIconPositions;
}

void frmHidden::MenuCommand(int index) {
    switch (index) {
        case kOpen:
            m_ports.ShowSetupWindow();
            break;
        case kApplyNewTheme:
            CheckAndChange(m_state, true);
            break;
        case kSuspend: {
            PopupItem& item = MenuItem(kSuspend);
            item.Checked = !item.Checked;
            SetClock(!m_clockEnabled);
            RemoveTrayIcon();
            AddTrayIcon();
            break;
        }
        case kRestoreIcons:
            RestoreIconPositionsFromFile(m_state);
            break;
        case kExit:
            RemoveTrayIcon();
            m_clockEnabled = false;
            m_ports.EndProgram();
            break;
        default:
            break;
    }
}

}  // namespace merivane
