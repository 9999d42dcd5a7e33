#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

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
};

// No shell windows at all (every Linux desktop).
class NoDesktopShell final : public DesktopShell {
  public:
    Window FindDesktopChild(const QStringList&) override { return 0; }
    void SendCommand(Window, int) override {}
    Window Foreground() override { return 0; }
    void SetForeground(Window) override {}
    void SendKeys(const QString&) override {}
};

}  // namespace merivane
