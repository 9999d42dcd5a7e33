#pragma once

#include <QPointer>
#include <QWidget>

namespace merivane {

struct Program;

// Shows the setup window (kept in `window`), or brings it forward when it is open.
void ShowSetupWindow(Program& program, QPointer<QWidget>& window);

}  // namespace merivane
