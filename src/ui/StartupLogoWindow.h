#pragma once

#include "platform/Environment.h"
#include "platform/LogoWindow.h"

#include <QString>

#include <memory>

class QApplication;

namespace merivane {

class frmStartup;

// The start-up logo of a change, shown in frmStartup. A process that has no application
// object yet (a one-shot change) gets one only when a logo is to be shown and a display is
// there; without a display nothing shows.
class StartupLogoWindow final : public LogoWindow {
  public:
    StartupLogoWindow(const Environment& env, int twipsPerPixel);
    ~StartupLogoWindow() override;
    StartupLogoWindow(const StartupLogoWindow&) = delete;
    StartupLogoWindow& operator=(const StartupLogoWindow&) = delete;

    void SetStartupPicture(const QString& file) override;
    void ShowStartup() override;
    void Close() override;

  private:
    bool EnsureApplication();

    const Environment& m_env;
    int m_twipsPerPixel;
    QString m_picture;
    int m_argc = 1;
    char m_name[9] = "merivane";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
    std::unique_ptr<frmStartup> m_window;
};

}  // namespace merivane
