#pragma once

#include "selection/SelectionState.h"

#include <QString>

#include <cstdint>

namespace merivane {

inline const QString kFavoritesFileName = QStringLiteral("Merivane.fav");

// Builds the candidates (the catalogue's files in season today) and narrows them; gives
// the name of the list used, the first part of the change's reason.
QString BuildCandidates(SelectionState& state);
// The first list; shortest and longest window among the candidates inside their window.
void BuildRegularList(SelectionState& state, std::int16_t& shortest, std::int16_t& longest);
void AddCandidate(SelectionState& state, int catalogueIndex);
// The last candidate takes the place of the removed one.
void RemoveCandidate(SelectionState& state, int candidateIndex);

// Marks the catalogue's favourites from Merivane.fav.
void LoadFavorites(SelectionState& state);
// Writes the marks back, one file name a line, in catalogue order.
void SaveFavorites(SelectionState& state);

}  // namespace merivane
