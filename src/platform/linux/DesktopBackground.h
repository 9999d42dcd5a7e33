#pragma once

#include "platform/Console.h"
#include "platform/Environment.h"
#include "platform/EventLoop.h"
#include "platform/RegistryStore.h"
#include "platform/SystemSettings.h"

#include <QString>
#include <QStringList>

namespace merivane {

enum class WallpaperMode { Tiled, Centered, Scaled, Stretched };

// Runs a program with arguments (never through a shell) and waits for it.
class CommandRunner {
  public:
    virtual ~CommandRunner() = default;
    virtual bool Exists(const QString& program) const = 0;
    // True when it ended by itself within the time limit with exit code 0.
    virtual bool Run(const QString& program, const QStringList& arguments, int timeoutMs,
                     QString* output) = 0;
    // As Run, keeping standard error too: the exit code, or -1 when it did not start,
    // crashed or ran out of time.
    virtual int RunCollecting(const QString& program, const QStringList& arguments, int timeoutMs,
                              QString* output, QString* errors) {
        if (errors != nullptr) {
            errors->clear();
        }
        return Run(program, arguments, timeoutMs, output) ? 0 : 1;
    }
    // Starts it and returns its process id (0 when it did not start).
    virtual qint64 StartDetached(const QString& program, const QStringList& arguments) = 0;
    // Ends a process that this runner (in this process or an earlier one) started as
    // `program`; any other process, whatever its id, is left alone.
    virtual void End(qint64 processId, const QString& program) = 0;
};

class ProcessRunner final : public CommandRunner {
  public:
    // `owner` (the home) marks the programs it starts, in their environment, so that a
    // process id kept in a file can be checked against the process itself.
    explicit ProcessRunner(QString owner) : m_owner(std::move(owner)) {}
    bool Exists(const QString& program) const override;
    bool Run(const QString& program, const QStringList& arguments, int timeoutMs, QString* output) override;
    int RunCollecting(const QString& program, const QStringList& arguments, int timeoutMs, QString* output,
                      QString* errors) override;
    qint64 StartDetached(const QString& program, const QStringList& arguments) override;
    void End(qint64 processId, const QString& program) override;

  private:
    QString m_owner;
};

// Whether the process runs `program` and carries the owner mark of a ProcessRunner, as
// the process itself tells (its command name and environment under /proc).
bool IsStartedBy(qint64 processId, const QString& program, const QString& owner);

// Tells the running desktop to show a picture. Each desktop that the environment names (and
// whose command exists) is tried in turn, then sway's swaybg, then feh on plain X11; the
// first that takes the picture ends the search.
class DesktopBackground {
  public:
    DesktopBackground(const Environment& env, CommandRunner& runner, EventLoop& events, const QString& home)
        : m_env(env), m_runner(runner), m_events(events), m_home(home) {}
    // False when no desktop could be told.
    bool Set(const QString& path, WallpaperMode mode);

  private:
    bool Gnome(const QString& schema, bool darkToo, const QString& path, WallpaperMode mode);
    bool Mate(const QString& path, WallpaperMode mode);
    bool Plasma(const QString& path, WallpaperMode mode);
    bool Xfce(const QString& path, WallpaperMode mode);
    bool Sway(const QString& path, WallpaperMode mode);
    bool Feh(const QString& path, WallpaperMode mode);
    bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr);

    const Environment& m_env;
    CommandRunner& m_runner;
    EventLoop& m_events;
    QString m_home;  // ends in '/'
};

// The system settings on Linux: action 20 sets the desktop picture, in the mode that the
// store's "Control Panel\Desktop" values ask for; everything else changes nothing.
class LinuxSystemSettings final : public SystemSettings {
  public:
    LinuxSystemSettings(RegistryStore& store, DesktopBackground& desktop, Console& console)
        : m_store(store), m_desktop(desktop), m_console(console) {}
    int ParametersInfo(int action, int number, const QString& text, const QByteArray& bytes,
                       int flags) override;
    void SetSysColors(const std::vector<int>&, const std::vector<std::uint32_t>&) override {}
    bool SetSystemCursor(const QString&, int) override { return true; }
    void WaitForDesktop(int) override {}

  private:
    RegistryStore& m_store;
    DesktopBackground& m_desktop;
    Console& m_console;
};

// Whether XDG_CURRENT_DESKTOP or DESKTOP_SESSION names one of these desktops (any part,
// without regard to case).
bool DesktopNamed(const Environment& env, std::initializer_list<const char*> names);

// "TileWallpaper" "1": tiled; "WallpaperStyle" "2": stretched, "1": scaled; else centred.
WallpaperMode WallpaperModeOf(const QString& tile, const QString& style);

}  // namespace merivane
