#pragma once

#include "platform/TaskScheduler.h"
#include "schedule/HiddenWindow.h"
#include "selection/SelectionState.h"

#include <QString>

#include <memory>

namespace merivane {

// The scheduling part of the program state: the resident window and what autostart and
// the scheduled task start.
struct ScheduleState : SelectionState {
    using SelectionState::SelectionState;

    // The absolute path of the program that autostart and the scheduled task run.
    QString ExecutablePath;
    // The executable's file name without extension.
    QString ExecutableName = QStringLiteral("merivane");
    // What the resident window shows itself through; none for a program that shows nothing.
    ResidentPorts* Resident = nullptr;
    // The component that makes scheduled tasks; none where there is no scheduler at all.
    CompanionComponent* Companion = nullptr;

    // The resident window, made the first time it is asked for.
    frmHidden& Hidden() {
        if (!m_hidden) {
            m_hidden = std::make_unique<frmHidden>(*this, Resident != nullptr ? *Resident : m_noPorts);
        }
        return *m_hidden;
    }
    bool HiddenLoaded() const { return m_hidden != nullptr; }
    // Whether the program must stay alive after its handler: the resident window runs.
    bool KeepsRunning() const { return m_hidden && m_hidden->Resident(); }

  private:
    NoResidentPorts m_noPorts;
    std::unique_ptr<frmHidden> m_hidden;
};

}  // namespace merivane
