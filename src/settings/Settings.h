#pragma once

#include "settings/SettingsState.h"

#include <QString>

namespace merivane {

inline const QString kAppKey = QStringLiteral("Software\\Brennock\\Merivane");

// Fills the statistics and the Setup values from the registry; on the first run (no
// "LastFilenameUsed" yet) sets the defaults and saves them.
void LoadSettings(SettingsState& state);
// Reads the statistics again when a process of the same home has changed since this one
// last read or wrote them, so that no change is counted over or lost.
void RefreshStatistics(SettingsState& state);
// Writes the chosen groups, in the order statistics, Setup, position.
void SaveSettings(SettingsState& state, bool statistics, bool setup, bool position);
void SetDefaultSettings(SettingsState& state);
// Removes the per-user key with all its subkeys; the machine-wide statistics stay.
void DeleteSettings(SettingsState& state);

// The record becomes the last change, stamped now; the last one becomes the previous one;
// the count goes up. Saving is the caller's.
void RecordChange(SettingsState& state, const ChangeRecord& record);

// "YNY..." -> flags: upper-cased, padded with Y; 'N' and '0' are False, anything else True.
std::array<bool, kThemeMgrSettingCount> ParseThemeMgrSettings(const QString& text);
QString ThemeMgrSettingsText(const std::array<bool, kThemeMgrSettingCount>& flags);

}  // namespace merivane
