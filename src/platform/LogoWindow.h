#pragma once

#include <QString>

namespace merivane {

// The start-up window in its picture mode, shown while a change runs (the setup window's
// library implements it; without a display nothing shows).
class LogoWindow {
  public:
    virtual ~LogoWindow() = default;
    // A path that names no existing file leaves the picture as it was.
    virtual void SetStartupPicture(const QString& file) = 0;
    virtual void ShowStartup() = 0;
    virtual void Close() = 0;
};

}  // namespace merivane
