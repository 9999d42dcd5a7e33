#include "apply/ThemeManagers.h"

#include "apply/ThemeInstaller.h"
#include "apply/WallpaperTheme.h"
#include "platform/Paths.h"

#include <cmath>

namespace merivane {

QString ThemeManagerSwitch(const QString& openCommand) {
    const QString name = FileNameOf(openCommand).toLower();
    if (name == QLatin1String("da.exe")) {
        return QStringLiteral(" -a ");
    }
    if (name == QLatin1String("themes.exe") || name == QLatin1String("desktop themes.exe")) {
        return QStringLiteral(" /s ");
    }
    return QStringLiteral(" ");
}

void RunAndWait(CalendarState& state, ShellJob& job) {
    job.StartTime = state.Sys.Time.Now();
    job.TimedOut = false;
    job.TimeOfTermination = 0;
    const int limit = job.TimeOut < 1 ? 1000 : job.TimeOut;
    const qint64 handle = state.Sys.Procs.Start(job.CommandLine);
    while (true) {
        state.Sys.Events.ProcessEvents();
        if (state.Sys.Procs.WaitFor(handle, 1000)) {
            break;
        }
        double seconds = std::floor((state.Sys.Time.Now() - job.StartTime) * kSecondsPerDay);
        if (seconds * 1000 >= limit) {
            state.Sys.Procs.Terminate(handle);
            job.TimedOut = true;
            job.TimeOfTermination = state.Sys.Time.Now();
            break;
        }
    }
    job.EndTime = state.Sys.Time.Now();
    job.ElapsedTime = job.EndTime - job.StartTime;
}

void RunThemeChange(CalendarState& state, const ChangeRecord& workingCopy, bool showProgress,
                    const QString& themeFolder) {
    const QString manager = state.ThemeOpenCommand;
    const bool external =
        !manager.isEmpty() && manager != QLatin1String("(none)") && state.Setup.UseThemeChanger != 1;
    const QString file = workingCopy.IsTheme ? workingCopy.FileName : WallpaperThemePath(state);
    if (external) {
        ShellJob job;
        job.CommandLine = manager + ThemeManagerSwitch(manager) + u'"' + file + u'"';
        job.TimeOut = kThemeManagerTimeOutMs;
        if (showProgress && state.Status != nullptr) {
            state.Status->ShowStatus(QStringLiteral("Calling external theme manager..."));
        }
        RunAndWait(state, job);
        if (state.Setup.UseThemeChanger != 2) {
            return;
        }
    }
    ApplyThemeFile(state, file, workingCopy.IsTheme ? themeFolder : QString());
}

}  // namespace merivane
