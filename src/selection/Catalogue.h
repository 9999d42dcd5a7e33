#pragma once

#include "selection/SelectionState.h"

#include <QString>
#include <QStringList>

namespace merivane {

inline constexpr int kCatalogueReuseAbove = 40;

// Lists the theme files and pictures of the configured folders with their windows and
// favourite marks. A catalogue of more than 40 files is kept until it is reset.
void BuildCatalogue(SelectionState& state, bool showProgress);
// The folder and every plain subfolder below it, level by level; each folder once, even
// when links lead to it again.
QStringList AddSubfolders(SelectionState& state, const QString& base, bool showProgress);
// Recomputes every entry's window, after settings that affect the calendar changed.
void RefreshFileWindows(SelectionState& state);

}  // namespace merivane
