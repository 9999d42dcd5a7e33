#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace merivane {

// The shell's own windows that a change talks to: the taskbar, the desktop's icon list,
// the foreground window. Windows are opaque handles, 0 for none; a call given 0 goes
// nowhere. Linux desktops have no such windows: their adapter finds none, and the calls
// that would reach them change nothing.
class DesktopShell {
  public:
    using Window = std::uint64_t;
    virtual ~DesktopShell() = default;
    // The desktop window's descendant reached through these class names in turn, each a
    // child of the one before ("Progman", "SHELLDLL_DefView", "SysListView32"); 0 when one
    // of them is missing.
    virtual Window FindDesktopChild(const QStringList& classPath) = 0;
    // A command message (273) with this parameter.
    virtual void SendCommand(Window window, int command) = 0;
    virtual Window Foreground() = 0;
    virtual void SetForeground(Window window) = 0;
    // Keystrokes to the active window, written as the shell writes them ("{F5}").
    virtual void SendKeys(const QString& keys) = 0;

    // The desktop's icon list ("Progman", "SHELLDLL_defVIEW", "SysListView32", names
    // matched without regard to case); 0 when there is none.
    virtual Window FindIconList() = 0;
    // Whether the list arranges its icons by itself (style bit 256).
    virtual bool AutoArrange(Window iconList) = 0;
    // Switches auto-arrange over (command 28737 to the list's parent).
    virtual void ToggleAutoArrange(Window iconList) = 0;
    virtual int ItemCount(Window iconList) = 0;
    // The item's position in list coordinates, read from the shell's own process.
    virtual QPoint ItemPosition(Window iconList, int item) = 0;
    virtual void SetItemPosition(Window iconList, int item, QPoint position) = 0;
};

// What was last read of the desktop's icons, kept for the life of the process.
struct DesktopIcons {
    DesktopShell::Window IconList = 0;
    std::int16_t Count = 0;  // 0: not read yet
    std::vector<QPoint> Positions;
    int ScreenWidth = 0;  // pixels, at the last reading
    int ScreenHeight = 0;
    bool AutoArrangeWasOn = false;  // set by a reading that found it on; never cleared
};

// No shell windows at all (every Linux desktop).
class NoDesktopShell final : public DesktopShell {
  public:
    Window FindDesktopChild(const QStringList&) override { return 0; }
    void SendCommand(Window, int) override {}
    Window Foreground() override { return 0; }
    void SetForeground(Window) override {}
    void SendKeys(const QString&) override {}
    Window FindIconList() override { return 0; }
    bool AutoArrange(Window) override { return false; }
    void ToggleAutoArrange(Window) override {}
    int ItemCount(Window) override { return 0; }
    QPoint ItemPosition(Window, int) override { return {}; }
    void SetItemPosition(Window, int, QPoint) override {}
};

}  // namespace merivane
