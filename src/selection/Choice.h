#pragma once

#include "selection/SelectionState.h"
#include "settings/ChangeRecord.h"

#include <QString>

namespace merivane {

// Decides what to apply now and applies it: the last theme again on the day it was chosen
// when it carries several wallpapers (and the setting says so), else a new choice. Nothing
// happens when nothing can be chosen, or while another change runs.
void CheckAndChange(SelectionState& state, bool showProgress);
// The decision alone: the record that CheckAndChange would apply (FileName empty and the
// reason "No Choices" when there is nothing), with Candidates left as the choice saw them.
ChangeRecord DecideChange(SelectionState& state);
// Orders the candidates by their sort key for the next-in-turn choice (2 to 40 of them).
void SortCandidates(SelectionState& state);
// One candidate, next after the last change in turn or at random (never the last file
// twice in a row).
ChangeRecord ChooseCandidate(SelectionState& state, const QString& listName);

}  // namespace merivane
