#pragma once

#include <QString>

namespace merivane {

// The setup window's status line, for lower layers that report progress without knowing
// the window. Absent (null) when no window is open.
class StatusSink {
  public:
    virtual ~StatusSink() = default;
    virtual void ShowStatus(const QString& text) = 0;
    // Adds to the text shown (the progress dots of a long scan).
    virtual void AppendStatus(const QString& text) = 0;
};

}  // namespace merivane
