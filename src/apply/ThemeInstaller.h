#pragma once

#include "calendar/EventTable.h"

#include <QString>

namespace merivane {

// The program's own theme installer: each group of a theme file that the settings enable
// is written into the settings store and handed to the running system.
// `themeFolder` is what %ThemeDir% means; empty: the file's own folder.
void ApplyThemeFile(CalendarState& state, const QString& themeFile, const QString& themeFolder = QString());
void ApplyColors(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyCursors(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyDesktop(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyScreenSaver(CalendarState& state, const QString& path);
void ApplyMetrics(CalendarState& state, const QString& folder, const QString& fileName);

// The groups of icons, sounds and extras. Files are only ever written under the program's
// own names in the home (the logos, the web folder), whatever the theme's values say.
void ApplyDesktopIcons(CalendarState& state, const QString& folder, const QString& fileName);
void ApplySounds(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyWebview(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyToolbarBitmap(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyLogos(CalendarState& state, const QString& folder, const QString& fileName);
// Reloads the system icons, redraws the taskbar and the desktop (no shell windows on Linux).
void RefreshDesktop(CalendarState& state);
// System parameters action 88: reload the system icons.
void ReloadIcons(CalendarState& state);

// "r g b" -> red + 256 green + 65536 blue, each above 255 taken as 255; 0 when a blank is missing.
std::uint32_t ParseColor(const QString& value);
// "76 0 0 0 ..." -> the bytes, 501 at most.
QByteArray ParseMetrics(const QString& value);

}  // namespace merivane
