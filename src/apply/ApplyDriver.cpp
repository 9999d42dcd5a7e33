#include "apply/ApplyDriver.h"

#include "settings/Settings.h"

namespace merivane {

void ApplyChange(CalendarState& state, const ChangeRecord& record, bool /*showProgress*/) {
    RecordChange(state, record);
    SaveSettings(state, true, false, false);
    // Bringing the file to the desktop follows here once the theme installer exists.
}

}  // namespace merivane
