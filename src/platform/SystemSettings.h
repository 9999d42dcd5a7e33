#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace merivane {

// The running system's settings that a theme changes. What is passed, and in which order,
// is what the theme installer fixes; on Linux only the desktop picture (action 20) has an
// effect: colours, pointers and metrics live in the settings store, where the program
// itself reads them.
class SystemSettings {
  public:
    static constexpr int kSetScreenSaveActive = 17;
    static constexpr int kSetDeskWallpaper = 20;
    static constexpr int kSetNonClientMetrics = 42;
    static constexpr int kSetIconMetrics = 46;
    static constexpr int kReloadIcons = 88;
    static constexpr int kGetScreenSaverRunning = 114;
    static constexpr int kUpdateAndBroadcast = 3;

    virtual ~SystemSettings() = default;

    // SystemParametersInfo: an action with a number, a text or a byte buffer. Gives the
    // number the action reports back (114: whether a screen saver runs), else 0.
    virtual int ParametersInfo(int action, int number, const QString& text, const QByteArray& bytes,
                               int flags) = 0;
    // SetSysColors: colour elements and their colours (red + 256 green + 65536 blue).
    virtual void SetSysColors(const std::vector<int>& elements, const std::vector<std::uint32_t>& colors) = 0;
    // A pointer from a .cur or .ani file, or the system's own for an identifier, made the
    // system pointer of that identifier. False when no pointer could be loaded.
    virtual bool SetSystemCursor(const QString& file, int identifier) = 0;
    // The pause after a call, for the desktop to catch up with it. On Linux only a changed
    // desktop picture needs one; the other calls change nothing there and wait for nothing.
    virtual void WaitForDesktop(int milliseconds) = 0;
};

}  // namespace merivane
