#include "schedule/Autostart.h"

#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "schedule/NextChange.h"
#include "schedule/ScheduleState.h"
#include "settings/RegOp.h"

#include <QDir>
#include <QFile>

namespace merivane {

namespace {
const QString kOwnMark = QStringLiteral("X-Merivane-Autostart=true");
constexpr std::int32_t kTaskFlags = 192;  // not on batteries (0x40), stop on batteries (0x80)
constexpr std::int32_t kDailyTrigger = 1;
constexpr int kMinutesPerDay = 1440;

RegOp RunKey(ScheduleState& state) {
    RegOp reg(state.Sys);
    reg.SetRoot(RegRoot::CurrentUser);
    reg.SetKey(kRunKey);
    return reg;
}

// The component object; a second try after registering, as a component that was never
// registered would need.
std::unique_ptr<TaskSchedulerComponent> CreateTaskScheduler(ScheduleState& state) {
    if (state.Companion == nullptr) {
        return nullptr;
    }
    auto scheduler = state.Companion->CreateTaskScheduler();
    if (!scheduler) {
        RegisterCompanionDll(state);
        scheduler = state.Companion->CreateTaskScheduler();
    }
    return scheduler;
}

bool NeedsQuoting(const QString& argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (argument.isEmpty()) {
        return true;
    }
    for (QChar c : argument) {
        if (kReserved.contains(c)) {
            return true;
        }
    }
    return false;
}
}  // namespace

QString RunEntryText(const ScheduleState& state) {
    return state.AppPath + state.ExecutableName + QStringLiteral(".exe  /check");
}

QString AutostartFile(const Environment& env) {
    QString config = env.Get(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return WithTrailingSeparator(config) + QStringLiteral("autostart/merivane.desktop");
}

QString DesktopExecArgument(const QString& argument) {
    QString word;
    if (NeedsQuoting(argument)) {
        word = u'"';
        for (QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
                word += u'\\';
            }
            word += c;
        }
        word += u'"';
    } else {
        word = argument;
    }
    word.replace(u'%', QStringLiteral("%%"));
    // The key's value is a string, whose own escapes come first when it is read.
    word.replace(u'\\', QStringLiteral("\\\\"));
    word.replace(u'\n', QStringLiteral("\\n"));
    word.replace(u'\t', QStringLiteral("\\t"));
    return word;
}

QString AutostartEntryText(const QString& executable, const QString& programHome) {
    QStringList exec;
    if (!programHome.isEmpty()) {
        // A home of its own must be the home that the log-in check changes too.
        exec << QStringLiteral("/usr/bin/env")
             << DesktopExecArgument(QStringLiteral("MERIVANE_HOME=") + programHome);
    }
    exec << DesktopExecArgument(executable) << QStringLiteral("/check");
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Merivane\n"
               "Comment=Changes the theme or wallpaper at log-in when a change is due\n"
               "Exec=%1\n"
               "Icon=com.brennock.Merivane\n"
               "Terminal=false\n"
               "%2\n")
        .arg(exec.join(u' '), kOwnMark);
}

bool IsOurAutostartEntry(const QString& file) {
    auto text = ReadTextFile(file);
    return text && SplitLines(*text).contains(kOwnMark);
}

void AddRunEntry(ScheduleState& state) {
    RegOp reg = RunKey(state);
    reg.SetValue(kRunValueName, Variant::Text(RunEntryText(state)));
    const QString file = AutostartFile(state.Sys.Env);
    if (QFile::exists(file) && !IsOurAutostartEntry(file)) {
        return;  // the user's own entry of that name: theirs to keep
    }
    QDir().mkpath(FolderOf(file));
    QString error;
    WriteFileAtomically(
        file,
        AutostartEntryText(state.ExecutablePath, state.Sys.Env.Get(QStringLiteral("MERIVANE_HOME"))).toUtf8(),
        &error);
}

void RemoveRunEntry(ScheduleState& state) {
    RegOp reg = RunKey(state);
    reg.DeleteValue(kRunValueName);
    const QString file = AutostartFile(state.Sys.Env);
    if (IsOurAutostartEntry(file)) {
        QFile::remove(file);
    }
}

void RegisterCompanionDll(ScheduleState& state) {
    Q_UNUSED(state);
}

void CreateScheduledTask(ScheduleState& state) {
    auto scheduler = CreateTaskScheduler(state);
    if (!scheduler) {
        // No scheduler at all: the resident clock makes the changes while this program
        // runs; the saved method stays as it is.
        state.Setup.TypeOfScheduling = 2;
        state.Hidden().StartAutoScheduler();
        return;
    }
    auto task = scheduler->CreateTask(kProductName);
    if (!task) {
        return;
    }
    task->SetApplicationName(state.ExecutableName);
    task->SetCommandLine(QStringLiteral("/now"));
    task->SetWorkingDirectory(state.AppPath);
    task->SetCreator(kProductName);
    task->SetComment(QStringLiteral("Entry was added automatically by ") + kProductName);
    task->SetFlags(kTaskFlags);
    TaskTrigger& trigger = task->Triggers().Add();
    trigger.SetTriggerType(kDailyTrigger);
    trigger.SetBeginDay(state.Sys.Time.Now());
    trigger.SetStartTime(state.Setup.ScheduledTime);
    const std::int16_t perDay = state.Setup.ChangesPerDay;
    if (perDay > 1) {
        trigger.SetInterval(static_cast<std::int16_t>(kMinutesPerDay / perDay));
        trigger.SetDuration(static_cast<std::int16_t>(kMinutesPerDay));
    }
    task->Save();
}

void DeleteScheduledTask(ScheduleState& state) {
    auto scheduler = CreateTaskScheduler(state);
    if (!scheduler) {
        return;
    }
    scheduler->Refresh();
    std::int16_t position = 0;
    for (const QString& name : scheduler->TaskNames()) {
        ++position;
        if (name.compare(kProductName, Qt::CaseInsensitive) == 0) {
            scheduler->Delete(position);
            break;
        }
    }
}

void ChangeScheduling(ScheduleState& state, std::int16_t oldType, std::int16_t newType, SerialDate oldTime,
                      SerialDate newTime, std::int16_t oldPerDay, std::int16_t newPerDay) {
    if (oldType == newType) {
        if (oldTime == newTime && oldPerDay == newPerDay) {
            return;
        }
        if (newType == 2) {
            state.Hidden().NextChangeTime = CalcNextChangeTime(state);
        } else if (newType == 3) {
            DeleteScheduledTask(state);
            CreateScheduledTask(state);
        }
        return;
    }
    switch (oldType) {
        case 1:
            RemoveRunEntry(state);
            break;
        case 2:
            state.Hidden().StopAutoScheduler();
            RemoveRunEntry(state);
            break;
        case 3:
            RemoveRunEntry(state);
            DeleteScheduledTask(state);
            break;
        default:
            break;
    }
    switch (newType) {
        case 1:
            AddRunEntry(state);
            break;
        case 2:
            AddRunEntry(state);
            state.Hidden().StartAutoScheduler();
            break;
        case 3:
            AddRunEntry(state);
            CreateScheduledTask(state);
            break;
        default:
            break;
    }
}

std::int16_t CorrectedChangesPerDay(const QString& text) {
    bool numeric = false;
    const double n = text.trimmed().toDouble(&numeric);
    return static_cast<std::int16_t>(!numeric || n < 1 ? 1 : (n > 96 ? 96 : static_cast<int>(n)));
}

}  // namespace merivane
