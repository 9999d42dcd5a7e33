#pragma once

#include <QPointer>
#include <QWidget>

namespace merivane {

struct Program;

// Shows the setup window (kept in `window`), or brings it forward when it is open. A window
// made now opens on tab `firstTab` (1..5; the first-run setup opens on Settings).
void ShowSetupWindow(Program& program, QPointer<QWidget>& window, int firstTab = 1);

}  // namespace merivane
