#pragma once

#include "calendar/EventTable.h"
#include "settings/ChangeRecord.h"

namespace merivane {

// The effects around a change: the mouse nudge, the change sound and logo, the desktop
// icon positions. They arrive with their own step and do nothing until then.
void NudgeMouse(CalendarState& state);
void PlayStartupSound(CalendarState& state, const ChangeRecord& workingCopy);
void ShowStartupLogo(CalendarState& state, bool show, const ChangeRecord& workingCopy);
void ReadIconPositions(CalendarState& state);
void SaveIconPositions(CalendarState& state);
void RestoreIconPositions(CalendarState& state);

}  // namespace merivane
