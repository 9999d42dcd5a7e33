#pragma once

#include <QString>
#include <QStringList>

namespace merivane {

struct SampleResult {
    QStringList Made;    // the files made
    QStringList Kept;    // files that were there already: never overwritten
    QStringList Failed;  // files that could not be made
};

// A small collection to try the program with: pictures named after events, drawn here, and
// a theme file with a folder of its own pictures.
SampleResult MakeSampleCollection(const QString& picturesFolder, const QString& themesFolder);

}  // namespace merivane
