#pragma once

namespace merivane {

// Sets a flag for as long as it lives: the mark of work that must not run twice at once.
class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& m_flag;
};

}  // namespace merivane
