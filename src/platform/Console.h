#pragma once

#include <QString>

namespace merivane {

// Standard output and standard error of a command-line run. Texts are written as given.
class Console {
  public:
    virtual ~Console() = default;
    virtual void Out(const QString& text) = 0;
    virtual void Err(const QString& text) = 0;
};

}  // namespace merivane
