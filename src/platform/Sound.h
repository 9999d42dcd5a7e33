#pragma once

#include <QString>

namespace merivane {

// Plays a sound file without waiting for it; a file that does not exist plays nothing.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void PlayFile(const QString& file) = 0;
};

}  // namespace merivane
