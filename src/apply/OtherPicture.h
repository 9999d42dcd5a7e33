#pragma once

#include "calendar/EventTable.h"
#include "settings/ChangeRecord.h"

#include <QStringList>

#include <cstdint>

namespace merivane {

// For a theme whose wallpaper lies in its own folder: another picture of that folder, big
// enough for the screen, becomes the working copy's wallpaper. Gives the number of pictures
// there were to choose from (1 when the step stopped before counting).
// `themeFolder` is what %ThemeDir% means (the chosen file's folder); empty: the copy's own.
std::int16_t PickOtherPicture(CalendarState& state, const ChangeRecord& workingCopy,
                              const QString& themeFolder = QString());
// Leaves out the theme's logos and folder backgrounds, which are pictures too.
void DropSpecialPictures(QStringList& pictures, const QString& themeFile);
// With several changes a day and time words in names: only the pictures of this hour.
void FilterPicturesByTime(const CalendarState& state, QStringList& pictures);

}  // namespace merivane
