#pragma once

#include <QString>

namespace merivane {

// Path pieces of a file name. Both '\' (names from theme files and the registry) and '/'
// (the host's own names) separate folders.
QString FolderOf(const QString& path);
QString FileNameOf(const QString& path);
QString PathWithoutExtension(const QString& path);
QString ExtensionOf(const QString& path);
// For text that came out of a fixed-size buffer: cut at the first NUL when the trimmed text ends in one.
QString CutAtNul(const QString& text);
// The text up to its first NUL (or all of it), as string values are read.
QString UpToNul(const QString& text);

int LastSeparator(const QString& path);
bool IsSeparator(QChar c);
// Appends '/' unless the folder already ends in a separator.
QString WithTrailingSeparator(const QString& folder);

}  // namespace merivane
