#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace merivane {

// The process environment. Entries() keeps the order the process was given them in.
class Environment {
  public:
    virtual ~Environment() = default;
    // The value of a variable by its exact name; empty when unset.
    virtual QString Get(const QString& name) const = 0;
    virtual QList<QPair<QString, QString>> Entries() const = 0;
};

// Windows-style expansion: each %NAME% of a defined variable (name compared without regard
// to case) is replaced by its value; anything else, "%%" and unknown names included, stays.
QString ExpandEnvironmentText(const Environment& env, const QString& text);

}  // namespace merivane
