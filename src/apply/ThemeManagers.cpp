#include "apply/ThemeManagers.h"

#include "apply/ThemeInstaller.h"
#include "apply/WallpaperTheme.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "settings/RegOp.h"

#include <QFileInfo>

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

const std::vector<ThemeManagerRow>& KnownThemeManagers() {
    static const std::vector<ThemeManagerRow> rows{
        {QStringLiteral("DesktopArchitect"), QStringLiteral("C:\\Program Files\\Desktop Architect\\"),
         QStringLiteral("da.exe")},
        {QStringLiteral("DesktopThemes"), QStringLiteral("c:\\Program Files\\Desktop Themes\\"),
         QStringLiteral("Desktop Themes.exe")},
        {QStringLiteral("ThemeCrafter"),
         QStringLiteral("C:\\Program Files\\PC Magazine Utilities\\ThemeCrafter\\"),
         QStringLiteral("ThemeCrafter.exe")},
        {QStringLiteral("Windows 98/Plus!"), QStringLiteral("c:\\Program Files\\Plus!\\"),
         QStringLiteral("Themes.exe")},
        {QStringLiteral("XThemeManager"), QStringLiteral("c:\\program files\\XTheme Manager 2.2\\"),
         QStringLiteral("xtm.exe")},
    };
    return rows;
}

ThemeManagerListing ListThemeManagers(const SettingsState& state) {
    ThemeManagerListing listing;
    const QString current = state.ThemeOpenCommand.toLower();
    int found = -1;
    for (const ThemeManagerRow& row : KnownThemeManagers()) {
        const QString host = HostPath(state.Sys.Home, row.Folder + row.Program);
        if (host.isEmpty() || !QFileInfo(host).isFile()) {
            continue;
        }
        listing.Rows.push_back(row);
        if (current.contains(row.Program.toLower())) {
            found = static_cast<int>(listing.Rows.size()) - 1;
        }
    }
    if (found < 0) {
        listing.Rows.push_back({state.ThemeFileType, QString(), state.ThemeOpenCommand});
        found = static_cast<int>(listing.Rows.size()) - 1;
    }
    listing.Current = found;
    return listing;
}

void SetThemeManager(SettingsState& state, const QString& fileTypeName, const QString& programPath) {
    state.ThemeFileType = fileTypeName;
    state.ThemeOpenCommand = programPath;
    // The short form of a path is the path itself here; only its case changes.
    const QString shortForm = CutAtNul(programPath).toUpper();
    const auto info = state.Sys.Store.QueryInfo(RegRoot::ClassesRoot, fileTypeName);
    const QString type = (!info || info->SubkeyCount == 0) ? QStringLiteral("ThemeFile") : fileTypeName;
    RegOp reg(state.Sys);
    reg.SetRoot(RegRoot::ClassesRoot);
    reg.SetKey(QStringLiteral(".theme"));
    reg.SetValue(QString(), Variant::Text(type));
    reg.SetKey(type + QStringLiteral("\\shell\\open\\command"));
    reg.SetValue(QString(), Variant::Text(u'"' + programPath + QStringLiteral("\"  \"%1\"")));
    if (type == QLatin1String("ThemeFile")) {
        reg.SetKey(QStringLiteral("ThemeFile\\DefaultIcon"));
        reg.SetValue(QString(), Variant::Text(shortForm + QStringLiteral(",0")));
    }
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
