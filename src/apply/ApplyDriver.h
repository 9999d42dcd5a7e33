#pragma once

#include "calendar/EventTable.h"
#include "settings/ChangeRecord.h"

namespace merivane {

// Applies one chosen file: records the change and saves the statistics first, then brings
// the file to the desktop.
void ApplyChange(CalendarState& state, const ChangeRecord& record, bool showProgress);

}  // namespace merivane
