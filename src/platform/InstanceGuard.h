#pragma once

namespace merivane {

// Whether another Merivane process of the same home runs now, whatever it was started for.
// A process that ended without cleaning up (a crash) does not count.
class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;
    virtual bool AnotherInstanceRunning() = 0;
};

}  // namespace merivane
