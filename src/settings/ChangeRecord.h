#pragma once

#include "platform/SerialDate.h"

#include <QString>

#include <cstdint>

namespace merivane {

// One change of theme or wallpaper.
struct ChangeRecord {
    QString FileName;
    bool IsTheme = false;
    QString Reason;
    SerialDate ChangeDate = 0;
    std::int16_t WallpapersInTheme = 0;
};

}  // namespace merivane
