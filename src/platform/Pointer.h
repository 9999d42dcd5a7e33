#pragma once

#include <QPoint>

#include <optional>

namespace merivane {

// The mouse pointer, moved to end a running screen saver.
class Pointer {
  public:
    virtual ~Pointer() = default;
    // Where the pointer is; nothing where no program may know it (Wayland, no display).
    virtual std::optional<QPoint> Position() = 0;
    virtual void MoveTo(QPoint position) = 0;
    // What ends a running screen saver on this system beyond a moving pointer (on Linux
    // "xdg-screensaver reset"); started without waiting.
    virtual void EndScreenSaver() = 0;
};

}  // namespace merivane
