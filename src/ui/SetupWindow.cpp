#include "ui/SetupWindow.h"

#include "app/Program.h"
#include "ui/frmMain.h"

#include <QApplication>

namespace merivane {

void ShowSetupWindow(Program& program, QPointer<QWidget>& window, int firstTab) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (!window) {
        auto* main = new frmMain(program);
        window = main;
        main->Load();
        main->SelectTab(firstTab);
    } else {
        if (window->isMinimized()) {
            window->showNormal();
        }
        window->show();
    }
    window->raise();
    window->activateWindow();
}

}  // namespace merivane
