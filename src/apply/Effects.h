#pragma once

#include "calendar/EventTable.h"
#include "settings/ChangeRecord.h"

#include <QString>

namespace merivane {

inline const QString kIconPositionsFileName = QStringLiteral("iconloc.dat");

// The effects around a change. `themeFolder` is what %ThemeDir% means in the working copy
// (empty: the copy's own folder).
// Five small random moves of the pointer and back, which end a running screen saver.
void NudgeMouse(CalendarState& state);
// The theme's start-up sound, then a pause while it plays.
void PlayStartupSound(CalendarState& state, const ChangeRecord& workingCopy,
                      const QString& themeFolder = QString());
// Shows the theme's start-up logo while the change runs, or closes it.
void ShowStartupLogo(CalendarState& state, bool show, const ChangeRecord& workingCopy,
                     const QString& themeFolder = QString());

// The desktop icons' positions: read from the shell (auto-arrange switched off on the way),
// saved to "iconloc.dat", put back from memory after a change or from the file, scaled to
// the screen of now. With no icon list (every Linux desktop) nothing is read, saved or moved.
void ReadIconPositions(CalendarState& state);
void SaveIconPositions(CalendarState& state);
void RestoreIconPositions(CalendarState& state);
void RestoreIconPositionsFromFile(CalendarState& state);

// Deletes the files a theme names that lie directly in the Windows folder. Gives the
// empty text, or what went wrong.
QString DeleteLinkedFiles(CalendarState& state, const QString& themeFile);

}  // namespace merivane
