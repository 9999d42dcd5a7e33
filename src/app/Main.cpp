#include "app/Main.h"

#include "apply/ThemeInstaller.h"
#include "calendar/EventTable.h"
#include "platform/HostPath.h"
#include "schedule/NextChange.h"
#include "selection/Choice.h"
#include "settings/Associations.h"
#include "settings/Settings.h"

#include <QFile>
#include <QFileInfo>

namespace merivane {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The one-shot switches, which run beside another instance.
const char* const kOneShotSwitches[] = {"/?", "/u", "/s", "/n", "/p", "/i", "/c", "/a"};

bool FileExists(const Program& program, const QString& name) {
    QString host = HostPath(program.Sys.Home, name);
    return !host.isEmpty() && QFileInfo(host).isFile();
}

void Install(Program& program) {
    SaveSettings(program, true, true, false);
    SetEventTableHidden(program);
}

void Uninstall(Program& program) {
    DeleteSettings(program);
    QString regsvr = program.SystemDir + QStringLiteral("RegSvr32.exe");
    if (regsvr.contains(u' ')) {
        regsvr = u'"' + regsvr + u'"';
    }
    program.Sys.Procs.StartDetached(regsvr + QStringLiteral(" /s /u Merivane.DLL"), WindowStyle::Hidden);
    SetEventTableNormal(program);
    program.Sys.Events.ProcessEvents();
    QFile::remove(program.AppPath + kEventTableFileName);
}

void ApplyNamedTheme(Program& program) {
    auto name = ApplyFileName(program.CommandLine, program.Setup.ThemePath);
    if (!name || !FileExists(program, *name)) {
        return;
    }
    ChangeRecord record{*name, true, QStringLiteral("DOS Command selection"), 0, 0};
    ApplyThemeFile(program, HostPath(program.Sys.Home, *name));
    RecordChange(program, record);
    SaveSettings(program, true, false, false);
}
}  // namespace

QStringList ArgumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

QString JoinCommandLine(const QStringList& arguments) {
    QStringList parts;
    for (const QString& arg : arguments) {
        parts << ((arg.isEmpty() || arg.contains(u' ')) ? u'"' + arg + u'"' : arg);
    }
    return parts.join(u' ');
}

QString BuildSwitch(const QString& commandLine) {
    QString sw = (commandLine.trimmed().toLower() + QStringLiteral("  ")).left(2);
    if (sw.startsWith(u'-')) {
        sw[0] = u'/';
    }
    return sw;
}

bool IsOneShotSwitch(const QString& switchText) {
    for (const char* oneShot : kOneShotSwitches) {
        if (switchText.contains(QLatin1String(oneShot))) {
            return true;
        }
    }
    return false;
}

int WindowsVersionCode(const OsVersionRecord& r) {
    if (r.Major <= 4) {
        if (r.Minor >= 90) {
            return 3;
        }
        if (r.Minor >= 10) {
            return 2;
        }
        return r.PlatformId == 2 ? 1 : 0;
    }
    if (r.Major == 5 && r.Minor == 0) {
        return 4;
    }
    return 5;
}

QString UsageText(const QString& n) {
    return n + QStringLiteral(" uses the date and time to make daily theme or") + kCrLf +
           QStringLiteral("wallpaper changes suitable for the current date.") + kCrLf + kCrLf +
           QStringLiteral("Command line usage:   ") + n + QStringLiteral(" [/i | /u | /n | /c | /a ]") +
           kCrLf + kCrLf +
           QStringLiteral("  /i[nstall]                   = Sets up registry variables, shows setup window") +
           kCrLf + QStringLiteral("  /u(install]                 = Removes registry variables") + kCrLf +
           QStringLiteral("  /n[ow]                     = Makes a theme/wallpaper change immediately") +
           kCrLf +
           QStringLiteral("  /c[heck]                  = Checks date to see if a theme change is needed.") +
           kCrLf +
           QStringLiteral("  /a[pply] <filename> = Applies the named theme filename to the desktop.") +
           kCrLf + kCrLf + QStringLiteral("Using no parameters shows a dialog box to make setup changes.");
}

std::optional<QString> ApplyFileName(const QString& commandLine, const QString& themePath) {
    QString line = commandLine.trimmed();
    int blank = line.indexOf(u' ');
    if (blank < 0) {
        return std::nullopt;
    }
    QString name = line.mid(blank).trimmed();
    if (name.startsWith(u'"')) {
        name = name.mid(1, name.size() - 2);
    }
    bool absolute = name.indexOf(u':') == 1 || name.startsWith(u'/');
    if (!absolute) {
        name = themePath + name;
    }
    if (!name.toLower().contains(QStringLiteral(".theme"))) {
        name += QStringLiteral(".theme");
    }
    return name;
}

void GetWindowsVersion(Program& program) {
    program.WindowsVersion = WindowsVersionCode(program.Sys.Version.Query());
}

void SetStartupGlobals(Program& program) {
    GetWindowsVersion(program);
    program.WindowsDir = program.Sys.Home.WindowsDir;
    program.SystemDir = program.Sys.Home.SystemDir;
    program.AppPath = program.Sys.Home.Home;
    program.ThemeFileType = FindFileType(program.Sys, QStringLiteral(".theme"));
    program.ThemeOpenCommand = FindOpenCommand(program.Sys, QStringLiteral(".theme"));
    program.TextViewerCommand = FindOpenCommand(program.Sys, QStringLiteral(".txt"));
    QString notepad = program.WindowsDir + QStringLiteral("notepad.exe");
    if ((program.TextViewerCommand.isEmpty() || program.TextViewerCommand == QLatin1String("(none)")) &&
        FileExists(program, notepad)) {
        program.TextViewerCommand = notepad;
    }
}

void ShowUsage(Program& program) {
    QString text = UsageText(program.ExecutableName);
    if (program.Sys.Ui.CanShowWindows()) {
        program.Sys.Ui.MessageBox(text, QStringLiteral("Merivane"), MessageIcon::None);
        return;
    }
    program.Sys.Con.Out(text.replace(kCrLf, QStringLiteral("\n")) + u'\n');
}

int Main(Program& program, const QStringList& arguments) {
    program.CommandLine = JoinCommandLine(arguments);
    const QString sw = BuildSwitch(program.CommandLine);

    if (!IsOneShotSwitch(sw) && program.Sys.Instances.AnotherInstanceRunning()) {
        program.Sys.Ui.MessageBox(QStringLiteral("Merivane is already running.") + kCrLf +
                                      QStringLiteral("Check for an icon in the system tray."),
                                  QStringLiteral("Merivane Error"), MessageIcon::Information);
        return kExitAlreadyRunning;
    }
    program.Sys.Rng.SeedFromClock();
    SetStartupGlobals(program);
    LoadSettings(program);
    LoadEventTable(program);

    if (sw == QLatin1String("/i")) {
        Install(program);
    } else if (sw == QLatin1String("/u")) {
        Uninstall(program);
    } else if (sw == QLatin1String("/n")) {
        CheckAndChange(program, false);
    } else if (sw == QLatin1String("/c")) {
        const AppSettings& setup = program.Setup;
        SerialDate due = CalcNextChangeTime(setup.TypeOfScheduling, setup.ScheduledTime, setup.ChangesPerDay,
                                            program.LastChange.ChangeDate, program.Sys.Time.Now());
        if (program.Sys.Time.Now() >= due) {
            CheckAndChange(program, false);
        }
    } else if (sw == QLatin1String("/a") || sw == QLatin1String("/s")) {
        ApplyNamedTheme(program);
    } else if (sw == QLatin1String("/?") || sw == QLatin1String("/h")) {
        ShowUsage(program);
    }
    // "/p", the tray and the setup window have nothing to run yet and end here.
    return kExitOk;
}

}  // namespace merivane
