#pragma once

#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DesktopShell.h"
#include "platform/DesktopSounds.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/EventLoop.h"
#include "platform/InstanceGuard.h"
#include "platform/LogoWindow.h"
#include "platform/Pointer.h"
#include "platform/Processes.h"
#include "platform/Random.h"
#include "platform/Screen.h"
#include "platform/Sound.h"
#include "platform/SystemSettings.h"
#include "platform/TaskScheduler.h"
#include "platform/WindowsVersionInfo.h"
#include "schedule/HiddenWindow.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QMap>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace merivane::test {

class FakeEnvironment final : public Environment {
  public:
    QString Get(const QString& name) const override;
    QList<QPair<QString, QString>> Entries() const override { return m_entries; }
    void Set(const QString& name, const QString& value);

  private:
    QList<QPair<QString, QString>> m_entries;
};

class FakeClock final : public Clock {
  public:
    SerialDate Now() const override { return now; }
    SerialDate now = 46365.75;  // 9 December 2026, 6 PM
};

class FakeRandom final : public Random {
  public:
    void SeedFromClock() override { ++seeds; }
    double Next() override;
    int seeds = 0;
    std::deque<double> script;
};

struct ShownMessage {
    QString Text;
    QString Title;
    MessageIcon Icon;
};

class FakeDialogs final : public Dialogs {
  public:
    MessageResult MessageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons, MessageResult defaultAnswer) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    bool CanShowWindows() const override { return canShowWindows; }

    bool canShowWindows = false;
    std::vector<ShownMessage> messages;
    std::deque<MessageResult> answers;  // taken in order; the default answer when empty
    // Typed into input boxes, in order; nothing: cancelled. The default text when empty.
    std::deque<std::optional<QString>> typed;
};

class FakeConsole final : public Console {
  public:
    void Out(const QString& text) override { out += text; }
    void Err(const QString& text) override { err += text; }
    QString out;
    QString err;
};

class FakeInstanceGuard final : public InstanceGuard {
  public:
    bool AnotherInstanceRunning() override {
        ++asked;
        return anotherRunning;
    }
    bool anotherRunning = false;
    int asked = 0;
};

class FakeWindowsVersion final : public WindowsVersionInfo {
  public:
    OsVersionRecord Query() const override { return record; }
    OsVersionRecord record{5, 1, 2};
};

struct StartedProcess {
    QString CommandLine;
    WindowStyle Style;
};

class FakeProcesses final : public Processes {
  public:
    bool StartDetached(const QString& commandLine, WindowStyle style) override {
        started.push_back({commandLine, style});
        return startSucceeds;
    }
    // Waited-for programs: each WaitFor call takes the next answer (true: it has ended).
    qint64 Start(const QString& commandLine) override {
        started.push_back({commandLine, WindowStyle::Normal});
        return startSucceeds ? 42 : 0;
    }
    bool WaitFor(qint64 handle, int) override {
        if (handle == 0 || waits.empty()) {
            return true;
        }
        bool ended = waits.front();
        waits.pop_front();
        if (clock != nullptr) {
            clock->now += 1.0 / 86400;  // each wait takes a second
        }
        return ended;
    }
    void Terminate(qint64 handle) override { terminated.push_back(handle); }
    std::vector<StartedProcess> started;
    std::deque<bool> waits;
    std::vector<qint64> terminated;
    FakeClock* clock = nullptr;
    bool startSucceeds = true;
};

// Records "events" for each ProcessEvents and "pause N" for each Pause, in order.
class FakeEventLoop final : public EventLoop {
  public:
    void ProcessEvents() override { calls << QStringLiteral("events"); }
    void Pause(int milliseconds) override { calls << QStringLiteral("pause %1").arg(milliseconds); }
    QStringList calls;
};

class FakeScreen final : public Screen {
  public:
    int WidthTwips() const override { return widthPixels * 15; }
    int HeightTwips() const override { return heightPixels * 15; }
    int TwipsPerPixel() const override { return 15; }
    int widthPixels = 1024;
    int heightPixels = 768;
};

// Records every call in order: "info ACTION NUMBER TEXT [bytes]", "colors ...", "cursor ...", "wait MS".
class FakeSystemSettings final : public SystemSettings {
  public:
    int ParametersInfo(int action, int number, const QString& text, const QByteArray& bytes,
                       int flags) override {
        QStringList parts{QStringLiteral("info"), QString::number(action), QString::number(number)};
        if (!text.isEmpty()) {
            parts << text;
        }
        if (number > 0 && !bytes.isEmpty()) {
            parts << QString::fromLatin1(bytes.left(number).toHex(' '));
        }
        calls << (parts + QStringList{QStringLiteral("flags"), QString::number(flags)}).join(u' ');
        return action == kGetScreenSaverRunning ? screenSaverRunning : 0;
    }
    void SetSysColors(const std::vector<int>& elements, const std::vector<std::uint32_t>& colors) override {
        QStringList pairs;
        for (std::size_t i = 0; i < elements.size(); ++i) {
            pairs << QStringLiteral("%1=%2").arg(elements[i]).arg(colors[i]);
        }
        calls << QStringLiteral("colors ") + pairs.join(u' ');
    }
    bool SetSystemCursor(const QString& file, int identifier) override {
        calls << QStringLiteral("cursor %1 %2").arg(identifier).arg(file);
        return true;
    }
    void WaitForDesktop(int milliseconds) override { calls << QStringLiteral("wait %1").arg(milliseconds); }
    // The call before the refresh that ends every applied theme, or a note that the calls
    // do not end with one.
    QString BeforeRefresh() const {
        const auto n = calls.size();
        if (n < 3 || calls[n - 2] != QLatin1String("info 88 0 flags 3") ||
            calls[n - 1] != QLatin1String("wait 2000")) {
            return QStringLiteral("(the calls do not end with the refresh)");
        }
        return calls[n - 3];
    }
    QStringList calls;
    int screenSaverRunning = 0;
};

// Shell windows by the class path that finds them ("Progman/SHELLDLL_DefView/SysListView32");
// records every call in order.
class FakeDesktopShell final : public DesktopShell {
  public:
    Window FindDesktopChild(const QStringList& classPath) override {
        const QString path = classPath.join(u'/');
        calls << QStringLiteral("find ") + path;
        return windows.value(path, 0);
    }
    void SendCommand(Window window, int command) override {
        calls << QStringLiteral("command %1 %2").arg(window).arg(command);
    }
    Window Foreground() override {
        calls << QStringLiteral("foreground?");
        return foreground;
    }
    void SetForeground(Window window) override { calls << QStringLiteral("foreground %1").arg(window); }
    void SendKeys(const QString& keys) override { calls << QStringLiteral("keys ") + keys; }

    // The model desktop: its icon list (window 0 when there is none), the icons' positions
    // and the auto-arrange flag. Toggles and moves are recorded as "arrange on|off" and
    // "set I X Y".
    Window FindIconList() override { return iconList; }
    bool AutoArrange(Window list) override { return list != 0 && autoArrange; }
    void ToggleAutoArrange(Window list) override {
        if (list != 0) {
            autoArrange = !autoArrange;
            calls << (autoArrange ? QStringLiteral("arrange on") : QStringLiteral("arrange off"));
        }
    }
    int ItemCount(Window list) override { return list == 0 ? 0 : static_cast<int>(icons.size()); }
    QPoint ItemPosition(Window list, int item) override {
        return list != 0 && item >= 0 && item < static_cast<int>(icons.size()) ? icons[item] : QPoint();
    }
    void SetItemPosition(Window list, int item, QPoint p) override {
        calls << QStringLiteral("set %1 %2 %3").arg(item).arg(p.x()).arg(p.y());
        if (list != 0 && item >= 0 && item < static_cast<int>(icons.size())) {
            icons[item] = p;
        }
    }
    Window iconList = 0;
    bool autoArrange = false;
    std::vector<QPoint> icons;

    QMap<QString, Window> windows;
    Window foreground = 0;
    QStringList calls;
};

// Records "move X Y" and "screensaver"; `position` empty: no pointer to be had.
class FakePointer final : public Pointer {
  public:
    std::optional<QPoint> Position() override { return position; }
    void MoveTo(QPoint p) override {
        calls << QStringLiteral("move %1 %2").arg(p.x()).arg(p.y());
        position = p;
    }
    void EndScreenSaver() override { calls << QStringLiteral("screensaver"); }
    std::optional<QPoint> position = QPoint(500, 400);
    QStringList calls;
};

class FakeSound final : public Sound {
  public:
    void PlayFile(const QString& file) override { played << file; }
    QStringList played;
};

// Records "picture FILE", "show" and "close".
class FakeLogoWindow final : public LogoWindow {
  public:
    void SetStartupPicture(const QString& file) override { calls << QStringLiteral("picture ") + file; }
    void ShowStartup() override { calls << QStringLiteral("show"); }
    void Close() override { calls << QStringLiteral("close"); }
    QStringList calls;
};

// A desktop with a sound theme setting (`theme`) and Cinnamon-like event files; records
// "theme NAME" and "files K=V ...".
class FakeDesktopSounds final : public DesktopSounds {
  public:
    QString SelectedTheme() override { return theme; }
    void SelectTheme(const QString& name) override {
        theme = name;
        calls << QStringLiteral("theme ") + name;
    }
    QMap<QString, QString> EventFiles() override { return files; }
    void SetEventFiles(const QMap<QString, QString>& set) override {
        QStringList pairs;
        for (auto it = set.begin(); it != set.end(); ++it) {
            files[it.key()] = it.value();
            pairs << it.key() + u'=' + it.value();
        }
        calls << QStringLiteral("files ") + pairs.join(u' ');
    }
    QString theme = QStringLiteral("freedesktop");
    QMap<QString, QString> files;
    QStringList calls;
};

// The resident window's icon, clock and windows, as a log of calls.
class FakeResidentPorts final : public ResidentPorts {
  public:
    void AddTrayIcon(const QString& toolTip, bool suspended) override {
        calls << (suspended ? QStringLiteral("add suspended: ") : QStringLiteral("add: ")) + toolTip;
    }
    void RemoveTrayIcon() override { calls << QStringLiteral("remove"); }
    void SetClockRunning(bool running) override {
        calls << (running ? QStringLiteral("clock on") : QStringLiteral("clock off"));
    }
    void ShowSetupWindow() override { calls << QStringLiteral("setup window"); }
    void EndProgram() override { calls << QStringLiteral("end"); }
    QStringList calls;
};

// A task scheduler that keeps its tasks in a list and logs the calls made on it.
class FakeCompanion final : public CompanionComponent {
  public:
    std::unique_ptr<TaskSchedulerComponent> CreateTaskScheduler() override;
    bool available = true;
    int creations = 0;
    std::vector<TaskDefinition> tasks;
    QStringList calls;
};

}  // namespace merivane::test
