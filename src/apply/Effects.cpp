#include "apply/Effects.h"

namespace merivane {

void NudgeMouse(CalendarState&) {}
void PlayStartupSound(CalendarState&, const ChangeRecord&) {}
void ShowStartupLogo(CalendarState&, bool, const ChangeRecord&) {}
void ReadIconPositions(CalendarState&) {}
void SaveIconPositions(CalendarState&) {}
void RestoreIconPositions(CalendarState&) {}

}  // namespace merivane
