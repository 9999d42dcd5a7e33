#pragma once

#include "platform/SerialDate.h"

namespace merivane {

// The local date and time, as a serial date. Every date-dependent rule asks this port,
// so any day can be tried.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual SerialDate Now() const = 0;
};

}  // namespace merivane
