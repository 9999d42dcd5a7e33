#include "app/Main.h"

#include "apply/Effects.h"
#include "apply/ThemeInstaller.h"
#include "calendar/EventTable.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "schedule/Autostart.h"
#include "schedule/NextChange.h"
#include "selection/Choice.h"
#include "settings/Associations.h"
#include "settings/Settings.h"

#include <QDir>
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

// The handlers that may leave the program resident start the tray window only in the
// first instance, and only for the method that it serves.
void StartResidentIfWanted(Program& program) {
    if (program.Setup.TypeOfScheduling == 2 && !program.Sys.Instances.AnotherInstanceRunning()) {
        program.Hidden().StartAutoScheduler();
    }
}

void Install(Program& program) {
    SaveSettings(program, true, true, false);
    RegisterCompanionDll(program);
    SetEventTableHidden(program);
    StartResidentIfWanted(program);
    if (program.Resident != nullptr) {
        program.Resident->ShowSetupWindow();
    }
}

void Uninstall(Program& program) {
    RemoveRunEntry(program);
    DeleteScheduledTask(program);
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

// Tells what a change came to: what was done on standard output, a failure on standard
// error with exit code 1.
int Report(Program& program, const ChangeOutcome& outcome) {
    if (outcome.Result == ChangeOutcome::Kind::Failed) {
        program.Sys.Con.Err(program.ExecutableName + QStringLiteral(": ") + outcome.Message + u'\n');
        return kExitFailed;
    }
    program.Sys.Con.Out(outcome.Message + u'\n');
    return kExitOk;
}

int ApplyNamedTheme(Program& program) {
    auto name = ApplyFileName(program.CommandLine, program.Setup.ThemePath);
    if (!name) {
        program.Sys.Con.Err(program.ExecutableName +
                            QStringLiteral(": /a needs the name of a theme file; nothing was applied.\n"));
        return kExitFailed;
    }
    if (!FileExists(program, *name)) {
        // Not in the theme folder: a name as the user's shell sees it, from the current folder.
        auto here = ApplyFileName(program.CommandLine, QDir::currentPath() + u'/');
        if (!here || !FileExists(program, *here)) {
            program.Sys.Con.Err(program.ExecutableName +
                                QStringLiteral(": no theme file %1 was found; nothing was applied.\n")
                                    .arg(CutForMessage(*name)));
            return kExitFailed;
        }
        name = QDir::cleanPath(*here);
    }
    ChangeRecord record{*name, true, QStringLiteral("DOS Command selection"), 0, 0};
    ChangeTurn turn(program);
    if (!turn.Granted()) {
        return Report(program, OutcomeOf(record, {false, QStringLiteral("another change of this home did not "
                                                                        "end within a minute")}));
    }
    program.ApplyProblems.clear();
    ApplyThemeFile(program, HostPath(program.Sys.Home, *name));
    RecordChange(program, record);
    SaveSettings(program, true, false, false);
    ApplyResult result{program.ApplyProblems.isEmpty(), program.ApplyProblems.join(QStringLiteral("; "))};
    return Report(program, OutcomeOf(record, result));
}

bool HasDisplay(const Environment& env) {
    return !env.Get(QStringLiteral("DISPLAY")).isEmpty() ||
           !env.Get(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
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
    QString line = commandLine.trimmed().toLower();
    if (line.startsWith(QLatin1String("--"))) {
        line.remove(0, 1);  // "--help" is "-help", as the usual form of long options
    }
    QString sw = (line + QStringLiteral("  ")).left(2);
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
    } else if (sw == QLatin1String("/p")) {
        RestoreIconPositionsFromFile(program);
    } else if (sw == QLatin1String("/n")) {
        return Report(program, CheckAndChange(program, false));
    } else if (sw == QLatin1String("/c")) {
        int code = kExitOk;
        if (program.Sys.Time.Now() >= CalcNextChangeTime(program)) {
            code = Report(program, CheckAndChange(program, false));
        }
        StartResidentIfWanted(program);
        return code;
    } else if (sw == QLatin1String("/a") || sw == QLatin1String("/s")) {
        return ApplyNamedTheme(program);
    } else if (sw == QLatin1String("/?") || sw == QLatin1String("/h")) {
        ShowUsage(program);
    } else if (!HasDisplay(program.Sys.Env) && !program.Sys.Ui.CanShowWindows()) {
        // The setup window is all this handler shows: say so rather than end in silence.
        program.Sys.Con.Err(UsageText(program.ExecutableName).replace(kCrLf, QStringLiteral("\n")) +
                            QStringLiteral("\n\nThe setup window needs a display; none was found "
                                           "(DISPLAY and WAYLAND_DISPLAY are not set).\n"));
        return kExitUsage;
    } else {
        StartResidentIfWanted(program);
        if (program.Resident != nullptr) {
            program.Resident->ShowSetupWindow();
        }
    }
    // The caller runs the event loop when the resident window or the setup window is up.
    return kExitOk;
}

}  // namespace merivane
