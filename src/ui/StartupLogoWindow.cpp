#include "ui/StartupLogoWindow.h"

#include "platform/linux/LinuxAdapters.h"
#include "ui/frmStartup.h"

#include <QApplication>
#include <QFileInfo>

namespace merivane {

StartupLogoWindow::StartupLogoWindow(const Environment& env, int twipsPerPixel)
    : m_env(env), m_twipsPerPixel(twipsPerPixel) {}

StartupLogoWindow::~StartupLogoWindow() {
    m_window.reset();  // before the application it lives in
}

void StartupLogoWindow::SetStartupPicture(const QString& file) {
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        m_picture = file;
    }
}

bool StartupLogoWindow::EnsureApplication() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        return true;
    }
    if (QCoreApplication::instance() != nullptr) {
        return false;  // a process without widgets
    }
    if (!DisplayReachable(m_env)) {
        return false;
    }
    m_application = std::make_unique<QApplication>(m_argc, m_argv);
    return true;
}

void StartupLogoWindow::ShowStartup() {
    if (m_picture.isEmpty() || !EnsureApplication()) {
        return;
    }
    if (!m_window) {
        m_window = std::make_unique<frmStartup>(m_twipsPerPixel);
    }
    m_window->SetStartupPicture(m_picture);
    m_window->ShowStartup();
}

void StartupLogoWindow::Close() {
    if (m_window) {
        m_window->close();
        m_window.reset();
    }
}

}  // namespace merivane
