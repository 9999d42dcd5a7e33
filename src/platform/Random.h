#pragma once

namespace merivane {

// Uniform random numbers in [0, 1), like the original's generator; seeded once at start.
class Random {
  public:
    virtual ~Random() = default;
    virtual void SeedFromClock() = 0;
    virtual double Next() = 0;
};

}  // namespace merivane
