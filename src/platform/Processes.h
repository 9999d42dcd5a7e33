#pragma once

#include <QString>
#include <QStringList>

namespace merivane {

enum class WindowStyle { Hidden, Normal, Minimized, Maximized };

// Starts programs. A command line is split into arguments by the Windows quoting rules
// and started directly, never through a shell, so no file name is ever interpreted.
class Processes {
  public:
    virtual ~Processes() = default;
    // Starts the command and returns at once; false when it could not be started.
    virtual bool StartDetached(const QString& commandLine, WindowStyle style) = 0;
    // Starts the command to be waited for; 0 when it could not be started.
    virtual qint64 Start(const QString& commandLine) = 0;
    // Waits up to the time for it to end; true when it has ended (or was never started).
    virtual bool WaitFor(qint64 handle, int milliseconds) = 0;
    // Ends it at once; its exit code is 0.
    virtual void Terminate(qint64 handle) = 0;
};

// The Windows rules for splitting a command line: blanks and tabs separate arguments,
// double quotes group, 2n backslashes before a quote give n and the quote groups,
// 2n+1 give n and a literal quote; "" inside quotes gives one quote. The program name
// (first argument) ends at the next blank or closing quote, backslashes taken literally.
QStringList SplitWindowsCommandLine(const QString& commandLine);
// One argument in double quotes, so that the splitting above gives it back whole: a quote
// in it, and the backslashes before a quote or the closing quote, escaped. A folder name
// ending in a backslash would otherwise swallow the closing quote.
QString QuoteWindowsArgument(const QString& argument);

}  // namespace merivane
