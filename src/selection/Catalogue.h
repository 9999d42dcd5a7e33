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
// The catalogue entry of a file by its full name; -1 when it has none.
int FindCatalogueEntry(const SelectionState& state, const QString& fileName,
                       Qt::CaseSensitivity cs = Qt::CaseInsensitive);
// Recomputes every entry's window, after settings that affect the calendar changed.
void RefreshFileWindows(SelectionState& state);

}  // namespace merivane
