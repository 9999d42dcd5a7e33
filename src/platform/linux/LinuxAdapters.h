#pragma once

#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/EventLoop.h"
#include "platform/Home.h"
#include "platform/InstanceGuard.h"
#include "platform/LogoWindow.h"
#include "platform/Pointer.h"
#include "platform/Processes.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "platform/WindowsVersionInfo.h"

#include <QElapsedTimer>
#include <QProcess>

#include <map>
#include <memory>
#include <optional>

#include <random>

namespace merivane {

class ProcessEnvironment final : public Environment {
  public:
    QString Get(const QString& name) const override;
    QList<QPair<QString, QString>> Entries() const override;
};

// Local time. MERIVANE_NOW (an ISO local date-time, or a date meaning its midnight) sets
// where the clock stands when the process starts; from there it runs on in real time.
class SystemClock final : public Clock {
  public:
    // A MERIVANE_NOW that does not read as a date-time is ignored and *warning says so.
    SystemClock(const Environment& env, QString* warning);
    SerialDate Now() const override;

  private:
    SerialDate m_start;
    QElapsedTimer m_elapsed;
    bool m_shifted = false;
};

class MersenneRandom final : public Random {
  public:
    void SeedFromClock() override;
    double Next() override;

  private:
    std::mt19937 m_engine{5489u};
};

// Boxes on the console; while windows can be shown (see UseWindows), as windows.
class ConsoleDialogs final : public Dialogs {
  public:
    explicit ConsoleDialogs(Console& console) : m_console(console) {}
    MessageResult MessageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons, MessageResult defaultAnswer) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    bool CanShowWindows() const override { return m_windows != nullptr && m_windows->CanShowWindows(); }
    // The boxes that take over whenever they can show; null: the console alone.
    void UseWindows(Dialogs* windows) { m_windows = windows; }

  private:
    Console& m_console;
    Dialogs* m_windows = nullptr;
};

class StdConsole final : public Console {
  public:
    void Out(const QString& text) override;
    void Err(const QString& text) override;
};

// Each process holds an exclusive lock on a file named after its process id in the
// home's instance folder for as long as it runs; the lock dies with the process, so a
// crashed instance leaves only a stale file, which the next look removes.
class LockFileInstanceGuard final : public InstanceGuard {
  public:
    explicit LockFileInstanceGuard(const QString& folder);
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;
    bool AnotherInstanceRunning() override;

  private:
    QString m_folder;
    QString m_ownFile;
    int m_fd = -1;
};

// Reports XP unless MERIVANE_WINDOWS_VERSION (0..5) asks for an older system.
class EnvironmentWindowsVersion final : public WindowsVersionInfo {
  public:
    explicit EnvironmentWindowsVersion(const Environment& env);
    OsVersionRecord Query() const override { return m_record; }

  private:
    OsVersionRecord m_record;
};

class HostProcesses final : public Processes {
  public:
    explicit HostProcesses(HomeLayout home) : m_home(std::move(home)) {}
    bool StartDetached(const QString& commandLine, WindowStyle style) override;
    qint64 Start(const QString& commandLine) override;
    bool WaitFor(qint64 handle, int milliseconds) override;
    void Terminate(qint64 handle) override;

  private:
    // The program of a command line as a host path, and its arguments.
    std::optional<std::pair<QString, QStringList>> Resolve(const QString& commandLine) const;

    HomeLayout m_home;
    std::map<qint64, std::unique_ptr<QProcess>> m_running;
};

// The primary screen: without a display, a common 1920 x 1080 at 96 dots per inch.
class DefaultScreen final : public Screen {
  public:
    int WidthTwips() const override { return 1920 * 15; }
    int HeightTwips() const override { return 1080 * 15; }
    int TwipsPerPixel() const override { return 15; }
};

// Qt's pointer where a program may move it (X11, in a process with a GUI application);
// elsewhere only "xdg-screensaver reset" ends a screen saver.
class HostPointer final : public Pointer {
  public:
    std::optional<QPoint> Position() override;
    void MoveTo(QPoint position) override;
    void EndScreenSaver() override;
};

// The first of pw-play, paplay and aplay that is installed, started without waiting.
class HostSound final : public Sound {
  public:
    void PlayFile(const QString& file) override;
};

// Until a window shows it, the start-up logo shows nowhere.
class NoLogoWindow final : public LogoWindow {
  public:
    void SetStartupPicture(const QString&) override {}
    void ShowStartup() override {}
    void Close() override {}
};

// Whether a window could be shown now: a Wayland socket or an X server that answers, or
// Qt's offscreen platform. Qt ends the whole process when it cannot reach the display it
// is given (a log-in check started from cron with a stale DISPLAY), so this is asked first.
bool DisplayReachable(const Environment& env);

class QtEventLoop final : public EventLoop {
  public:
    void ProcessEvents() override;
    void Pause(int milliseconds) override;
};

}  // namespace merivane
