#pragma once

#include "platform/SerialDate.h"

#include <QString>

#include <cstdint>

namespace merivane {

// One catalogued theme or wallpaper file and its window of days.
struct FileEntry {
    QString FileName;
    bool IsTheme = false;
    QString OverrideText;  // the ending-date text of its override, empty when none
    SerialDate StartDate = 0;
    SerialDate EndDate = 0;
    std::int16_t DaysShown = 0;  // 999: any day; 0 or less: never
    std::int16_t Priority = 0;   // the override's mode
    bool IsFavorite = false;
};

}  // namespace merivane
