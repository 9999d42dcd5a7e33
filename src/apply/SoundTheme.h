#pragma once

#include "calendar/EventTable.h"

#include <QString>

namespace merivane {

// One event sound of a theme: its path below "AppEvents\Schemes\Apps\", its name in the
// freedesktop sound naming, and Cinnamon's key for it (empty when Cinnamon has none).
struct SoundEvent {
    const char* Path;
    const char* FreedesktopName;
    const char* CinnamonKey;
};
// The 21 events, in the theme installer's order.
extern const SoundEvent kSoundEvents[21];

// With UseDesktopSoundTheme on, the theme's event sounds (PCM WAV files only) become the
// user's sound theme "merivane" ($XDG_DATA_HOME/sounds/merivane/, inheriting the theme in use
// before), and the desktop is told to use it. With the value off, the sounds group off, or a
// theme without sounds, what was selected before comes back.
void ApplyDesktopSoundTheme(CalendarState& state, const QString& folder, const QString& fileName,
                            bool soundsEnabled);

// Whether the file is a WAV file of PCM samples (the only kind libcanberra plays).
bool IsPcmWav(const QString& path);

}  // namespace merivane
