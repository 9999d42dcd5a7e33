#pragma once

#include "schedule/HiddenWindow.h"

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class QAction;
class QCoreApplication;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace merivane {

struct Program;
class EndSignals;
class ResidentMark;

// Whether a StatusNotifier host (a D-Bus tray) is registered on the session bus, asked
// of the watcher directly, so that Qt's own once-per-process choice is not made early.
bool TrayHostRegistered();
// Gives the pages of freed memory back to the system (after a change, before idling).
void ReturnFreedMemory();

// The Qt side of the resident window: the application object (made only when the resident
// or a window needs it), the 500 ms clock, the tray icon and its menu, the end on a signal.
class ResidentHost final : public QObject, public ResidentPorts {
  public:
    static constexpr int kWatchIntervalMs = 2000;
    static constexpr int kWatchTries = 30;

    ResidentHost(int& argc, char** argv, Program& program);
    ~ResidentHost() override;

    void AddTrayIcon(const QString& toolTip, bool suspended) override;
    void RemoveTrayIcon() override;
    void SetClockRunning(bool running) override;
    void ShowSetupWindow() override;
    void EndProgram() override;

    // Runs the event loop until the program ends; the exit code.
    int Run();

    // What opens the setup window (the setup window fills it in).
    std::function<void(Program&)> OpenSetupWindow;

    // For tests: the icon once made, and the menu.
    QSystemTrayIcon* Icon() const { return m_icon.get(); }
    QMenu* Menu() const { return m_menu.get(); }
    bool ViaStatusNotifier() const { return m_viaStatusNotifier; }

  private:
    bool EnsureApplication();
    void WatchForTray();
    void CreateIcon(bool viaStatusNotifier);
    void ShowIconState();
    void SyncMenu();
    void NoteNoTray();

    int& m_argc;
    char** m_argv;
    Program& m_program;
    std::unique_ptr<QCoreApplication> m_application;
    std::unique_ptr<QTimer> m_clock;
    std::unique_ptr<QTimer> m_watch;
    int m_watchTries = 0;
    std::unique_ptr<EndSignals> m_signals;
    std::unique_ptr<ResidentMark> m_mark;
    std::unique_ptr<QMenu> m_menu;
    std::map<int, QAction*> m_actions;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_viaStatusNotifier = false;
    // What the resident window last asked the icon to be.
    bool m_wanted = false;
    QString m_toolTip;
    bool m_suspended = false;
    QIcon m_running;
    QIcon m_paused;
};

}  // namespace merivane
