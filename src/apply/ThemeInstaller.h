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

// The groups of icons, sounds and extras, and the desktop refresh; they arrive with their own
// step and do nothing until then.
void ApplyDesktopIcons(CalendarState& state, const QString& folder, const QString& fileName);
void ApplySounds(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyWebview(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyToolbarBitmap(CalendarState& state, const QString& folder, const QString& fileName);
void ApplyLogos(CalendarState& state, const QString& folder, const QString& fileName);
void RefreshDesktop(CalendarState& state);

// "r g b" -> red + 256 green + 65536 blue, each above 255 taken as 255; 0 when a blank is missing.
std::uint32_t ParseColor(const QString& value);
// "76 0 0 0 ..." -> the bytes, 501 at most.
QByteArray ParseMetrics(const QString& value);

}  // namespace merivane
