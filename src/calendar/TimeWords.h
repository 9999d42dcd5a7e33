#pragma once

#include <QString>

namespace merivane {

// Whether the time-of-day words of a file's path allow the hour (0..23). The words count
// only between blanks (" night" also at the end of the title and at the start of a longer
// word); the first word found decides; a path without one suits every hour.
bool MatchesTimeOfDay(const QString& path, int hour);

}  // namespace merivane
