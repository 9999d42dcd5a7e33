#pragma once

#include "platform/SerialDate.h"

#include <QString>

#include <cstdint>

namespace merivane {

struct ScheduleState;
class Environment;

inline const QString kRunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString kRunValueName = QStringLiteral("Merivane");
inline const QString kProductName = QStringLiteral("Merivane");

// The Run value's text: the program folder, the executable's name with ".exe", two
// blanks and "/check".
QString RunEntryText(const ScheduleState& state);

// The autostart entry that stands for the Run value on a Linux desktop.
QString AutostartFile(const Environment& env);
QString AutostartEntryText(const QString& executable, const QString& programHome);
// One argument of a desktop entry's Exec key, quoted when it must be, and escaped for the
// key's string value.
QString DesktopExecArgument(const QString& argument);
// Whether `file` is an autostart entry that we wrote.
bool IsOurAutostartEntry(const QString& file);

// Writes the Run value and its autostart entry.
void AddRunEntry(ScheduleState& state);
// Deletes the Run value and our autostart entry.
void RemoveRunEntry(ScheduleState& state);

// The scheduled task that runs "/now" at the day's slots.
void CreateScheduledTask(ScheduleState& state);
// Deletes the first task (in the scheduler's order) named after the product, letter case
// not counting.
void DeleteScheduledTask(ScheduleState& state);
// The component is part of the program: there is nothing to register, and it never fails.
void RegisterCompanionDll(ScheduleState& state);

// The number of changes a day as typed: corrected, never refused (not a number or below 1
// gives 1, above 96 gives 96).
std::int16_t CorrectedChangesPerDay(const QString& text);

// Moves the automatic entries from the old scheduling values to the new ones (already
// in the settings).
void ChangeScheduling(ScheduleState& state, std::int16_t oldType, std::int16_t newType, SerialDate oldTime,
                      SerialDate newTime, std::int16_t oldPerDay, std::int16_t newPerDay);

}  // namespace merivane
