#pragma once

namespace merivane {

// Letting pending window events run, and waiting while they do. Fakes record the calls
// without sleeping, so the order of calls and pauses can be checked and no test sleeps.
class EventLoop {
  public:
    virtual ~EventLoop() = default;
    virtual void ProcessEvents() = 0;
    virtual void Pause(int milliseconds) = 0;
};

}  // namespace merivane
