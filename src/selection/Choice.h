#pragma once

#include "apply/ApplyDriver.h"
#include "selection/SelectionState.h"
#include "settings/ChangeRecord.h"

#include <QString>

namespace merivane {

// What a request for a change came to, in one line for the one who asked.
struct ChangeOutcome {
    enum class Kind { Changed, Nothing, Failed };
    Kind Result = Kind::Nothing;
    ChangeRecord Record;  // what was chosen (empty file name when nothing was)
    QString Message;      // "Changed to NAME (REASON)", why nothing changed, or why it failed
};

// Decides what to apply now and applies it: the last theme again on the day it was chosen
// when it carries several wallpapers (and the setting says so), else a new choice. Nothing
// happens when nothing can be chosen, or while another change runs (in this process or,
// for about a minute, in another of the same home).
ChangeOutcome CheckAndChange(SelectionState& state, bool showProgress);
// The outcome of applying `record`: changed, or failed with `why`.
ChangeOutcome OutcomeOf(const ChangeRecord& record, const ApplyResult& result);
// The decision alone: the record that CheckAndChange would apply (FileName empty and the
// reason "No Choices" when there is nothing), with Candidates left as the choice saw them.
ChangeRecord DecideChange(SelectionState& state);
// Orders the candidates by their sort key for the next-in-turn choice (2 to 40 of them).
void SortCandidates(SelectionState& state);
// One candidate, next after the last change in turn or at random (never the last file
// twice in a row).
ChangeRecord ChooseCandidate(SelectionState& state, const QString& listName);

}  // namespace merivane
