#pragma once

#include "settings/SettingsState.h"

#include <QString>

namespace merivane {

inline const QString kEventTableFileName = QStringLiteral("Merivane.hol");

// While the program is not writing it, the event table is read-only (the Windows
// attributes read-only, hidden and system); made writable again before it is rewritten
// or deleted. A missing file is no error.
void SetEventTableHidden(const SettingsState& state);
void SetEventTableNormal(const SettingsState& state);

}  // namespace merivane
