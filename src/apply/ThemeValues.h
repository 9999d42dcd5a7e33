#pragma once

#include <QString>

namespace merivane {

// The buffers theme values are read into: the longest values taken.
inline constexpr int kThemeValueBuffer = 256;
inline constexpr int kThemePictureBuffer = 512;
inline constexpr int kThemeMetricsBuffer = 1024;

// A value of a theme file, cut at the buffer and at a NUL, blanks trimmed; empty when the
// file, section or key is missing.
QString ReadThemeValue(const QString& themeFile, const QString& section, const QString& key,
                       int bufferSize = kThemeValueBuffer);

// Expands a leading %ThemeDir%, %WinDir% or %SysDir% (any letter case) to its folder and
// turns each doubled backslash into one. A token elsewhere in the value stays as it is.
// Not trimmed: callers trim.
QString ExpandThemePath(const QString& value, const QString& themeFolder, const QString& windowsDir,
                        const QString& systemDir);

// The file a section applier reads: its name within the theme folder, or a full path when
// the working copy lies elsewhere (in the home) while %ThemeDir% still means the folder.
QString ThemeFileIn(const QString& folder, const QString& fileName);

}  // namespace merivane
