#pragma once

#include "calendar/EventTable.h"
#include "calendar/FileEntry.h"

#include <vector>

namespace merivane {

// The selection's part of the program state: the catalogue of files and the candidates
// for the next change.
struct SelectionState : CalendarState {
    using CalendarState::CalendarState;

    std::vector<FileEntry> Catalogue;
    // Emptying the catalogue makes the next build scan again.
    void ResetCatalogue() { Catalogue.clear(); }
    int FavoriteCount = 0;
    std::vector<FileEntry> Candidates;
    // Set while a scan runs, so that events it lets run cannot start a second one.
    bool Scanning = false;
    // Set while a change runs, so that a timer tick or menu command cannot start another.
    bool ChangeInProgress = false;
};

}  // namespace merivane
