#pragma once

#include "platform/Environment.h"

#include <QList>
#include <QPair>
#include <QString>

namespace merivane {

// The variables through which a program reaches the user's desktop session. A run from
// cron has none of them; the desktop's own tools need them to change anything.
const QStringList& SessionVariableNames();

// The file in the home where the last session's values are kept.
QString SessionFile(const QString& home);

// Notes the session's values (those that are set) in `file`; does nothing outside a
// session (no display of either kind).
void NoteSessionVariables(const Environment& env, const QString& file);

// The values noted in `file` that this process lacks and whose session still lives: the
// display's socket, the Wayland socket, the bus socket and the runtime folder must all
// still exist, else none is taken.
QList<QPair<QString, QString>> LiveSessionVariables(const Environment& env, const QString& file);

// Puts LiveSessionVariables into this process's environment (before anything reads it).
void AdoptSessionVariables(const Environment& env, const QString& file);

}  // namespace merivane
