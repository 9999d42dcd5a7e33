#pragma once

#include "settings/ChangeRecord.h"
#include "settings/SettingsState.h"

#include <QImage>
#include <QString>

namespace merivane {

inline const QString kWallpaperThemeFileName = QStringLiteral("Wallpaper.theme");

// The wallpaper theme in the home, found without regard to case: the one path by which it
// is both written and applied.
QString WallpaperThemePath(const SettingsState& state);
inline const QString kDesktopSection = QStringLiteral("Control Panel\\Desktop");

// A picture from a file, its format told by its content (the working copy of a picture is
// named "temp.theme"); a null image when it cannot be read.
QImage LoadPicture(const QString& path);
// Its size in pixels from the file's header, without decoding it; invalid when unreadable
// or too large to be decoded.
QSize PictureSize(const QString& path);

// Makes the program's own wallpaper theme show the picture of the working copy: creates the
// theme from its fixed text when missing, enters the picture and its tiling and style. A
// picture that cannot be read leaves the theme as it was, and the result is false.
bool PrepareWallpaperTheme(SettingsState& state, const ChangeRecord& workingCopy);
// Creates or overwrites the wallpaper theme with its fixed text.
void WriteWallpaperThemeTemplate(const QString& path);
// Tiles a small picture, fits one that is larger than the screen or of nearly its shape,
// centres the rest: writes TileWallpaper and WallpaperStyle (sizes in twips).
void ChooseWallpaperStyle(const SettingsState& state, qint64 widthTwips, qint64 heightTwips,
                          const QString& themeFile);
// Converts the wallpaper to the bitmap the desktop shows ("Theme <user>.bmp" in the Windows
// folder) and settles tiling and style against the screen. Gives the bitmap's path, or the
// empty text when there is no wallpaper. A picture that cannot be read is added to the
// state's ApplyProblems, and the desktop is to keep the picture it has.
QString ConvertWallpaper(SettingsState& state, QString wallpaper, QString& tiling, QString& style);
// "Theme <user>.bmp" in the Windows folder; the user from HKEY_LOCAL_MACHINE "Network\Logon".
QString ConvertedWallpaperPath(SettingsState& state);

}  // namespace merivane
