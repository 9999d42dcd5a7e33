#include "ui/SetupWindow.h"

#include "app/Program.h"

#include <QApplication>
#include <QMessageBox>

namespace merivane {

void ShowSetupWindow(Program& program, QPointer<QWidget>& window) {
    Q_UNUSED(program);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    // Until the setup window is built, say where its settings are made instead.
    if (!window) {
        auto* box =
            new QMessageBox(QMessageBox::Information, QStringLiteral("Merivane"),
                            QStringLiteral("The setup window is not part of this version of Merivane.\n"
                                           "Its settings are made with merivanectl (see merivanectl(1))."),
                            QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        window = box;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace merivane
