#pragma once

#include <QString>
#include <QStringList>

namespace merivane {

// A small collection to try the program with: pictures named after events, drawn here, and
// a theme file with a folder of its own pictures. Gives the files made.
QStringList MakeSampleCollection(const QString& picturesFolder, const QString& themesFolder);

}  // namespace merivane
