#pragma once

#include "settings/SettingsState.h"

#include <QString>

#include <utility>

namespace merivane {

// The file type the registry gives an extension (".theme"), or "(none)".
QString FindFileType(Platform& platform, const QString& extension);

// The program registered to open files of the extension: "(none)" when nothing is
// registered, the empty text when the registered program file does not exist.
QString FindOpenCommand(Platform& platform, const QString& extension);

// A default folder of theme files: the current theme manager's folder, else the folder
// below the usual theme folder (then below the C: drive) that holds the most theme files.
QString FindThemeFolder(SettingsState& state);

// The folder at or below `folder` with the most "*.theme" files, searched depth first;
// a tie keeps the folder found first, so a parent wins over its subfolders. A path with
// "\temp" in it (as the Windows program saw it) is not searched. Folders found end in '/'.
std::pair<int, QString> SearchThemeFolder(Platform& platform, const QString& folder);

}  // namespace merivane
