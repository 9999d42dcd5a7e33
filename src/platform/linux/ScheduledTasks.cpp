#include "platform/linux/ScheduledTasks.h"

#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace merivane {

namespace {
const QString kSection = QStringLiteral("[X-Merivane]");
const QString kCronBegin = QStringLiteral("# >>> Merivane task \"");
const QString kCronEnd = QStringLiteral("# <<< Merivane task \"");
constexpr int kCommandTimeoutMs = 15000;
constexpr std::int32_t kDontStartOnBatteries = 0x40;

QString ConfigHome(const Environment& env) {
    QString config = env.Get(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return WithTrailingSeparator(config);
}

// A value on the right of '=' in a unit file: specifiers and variables kept literal.
QString UnitValue(const QString& text) {
    QString value = text;
    value.replace(u'%', QStringLiteral("%%"));
    value.replace(u'\n', u' ');
    return value;
}

QString TimeOfDay(int minutes) {
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QChar(u'0'))
        .arg(minutes % 60, 2, 10, QChar(u'0'));
}

// The task's name as a cron marker keeps it: between double quotes, none inside.
QString MarkerName(const QString& name) {
    QString cleaned = name;
    cleaned.replace(u'"', u'\'');
    cleaned.replace(u'\n', u' ');
    return cleaned;
}

QString NameInMarker(const QString& line, const QString& marker) {
    int end = line.indexOf(u'"', marker.size());
    return end < 0 ? QString() : line.mid(marker.size(), end - marker.size());
}

bool HoldsNewline(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}
}  // namespace

QString MerivaneExecutable() {
    QFileInfo self(QStringLiteral("/proc/self/exe"));
    QString path = self.symLinkTarget();
    if (path.isEmpty()) {
        return QStringLiteral("merivane");
    }
    QFileInfo exe(path);
    if (exe.fileName() == QLatin1String("merivane")) {
        return path;
    }
    return exe.absolutePath() + QStringLiteral("/merivane");
}

TaskPlaces TaskPlacesFor(const Environment& env, const QString& executable, const QString& scratch) {
    TaskPlaces places;
    places.UnitFolder = ConfigHome(env) + QStringLiteral("systemd/user/");
    places.Executable = executable;
    places.ProgramHome = env.Get(QStringLiteral("MERIVANE_HOME"));
    places.ScratchFolder = WithTrailingSeparator(scratch);
    return places;
}

QString SystemdQuoted(const QString& argument) {
    QString quoted;
    for (QChar c : argument) {
        if (c == u'\\' || c == u'"') {
            quoted += u'\\';
            quoted += c;
        } else if (c == u'%') {
            quoted += QStringLiteral("%%");
        } else if (c == u'$') {
            quoted += QStringLiteral("$$");
        } else {
            quoted += c;
        }
    }
    return u'"' + quoted + u'"';
}

QString CronQuoted(const QString& argument) {
    QString quoted = argument;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    // cron itself turns an unescaped % into a line break before the shell sees the line.
    quoted.replace(u'%', QStringLiteral("\\%"));
    return u'\'' + quoted + u'\'';
}

QString UnitStem(const QString& taskName) {
    QString stem;
    for (QChar c : taskName.toLower()) {
        stem += (c.isLetterOrNumber() && c.unicode() < 128) ? c : u'-';
    }
    return stem.isEmpty() ? QStringLiteral("task") : stem;
}

QString ServiceUnitText(const TaskDefinition& task, const TaskPlaces& places) {
    QString text =
        QStringLiteral("# Made by Merivane for its task \"%1\"; Merivane replaces or removes this file.\n")
            .arg(UnitValue(task.Name));
    text += QStringLiteral("[Unit]\nDescription=%1: a scheduled theme or wallpaper change\n")
                .arg(UnitValue(task.Name));
    if ((task.Flags & kDontStartOnBatteries) != 0) {
        text += QStringLiteral("ConditionACPower=true\n");
    }
    text += QStringLiteral("\n[Service]\nType=oneshot\n");
    text += QStringLiteral("ExecStart=%1 %2\n")
                .arg(SystemdQuoted(places.Executable), UnitValue(task.CommandLine));
    if (!task.WorkingDirectory.isEmpty()) {
        // A leading '-': a folder that went away does not keep the change from running.
        text += QStringLiteral("WorkingDirectory=-%1\n").arg(UnitValue(task.WorkingDirectory));
    }
    if (!places.ProgramHome.isEmpty()) {
        text += QStringLiteral("Environment=%1\n")
                    .arg(SystemdQuoted(QStringLiteral("MERIVANE_HOME=") + places.ProgramHome));
    }
    return text;
}

QString TimerUnitText(const TaskDefinition& task, const TaskPlaces& places) {
    Q_UNUSED(places);
    QString text =
        QStringLiteral("# Made by Merivane for its task \"%1\"; Merivane replaces or removes this file.\n")
            .arg(UnitValue(task.Name));
    text += QStringLiteral("[Unit]\nDescription=%1: the times of its scheduled changes\n\n[Timer]\n")
                .arg(UnitValue(task.Name));
    for (int minutes : DailyRunMinutes(task)) {
        text += QStringLiteral("OnCalendar=*-*-* %1:00\n").arg(TimeOfDay(minutes));
    }
    text += QStringLiteral("AccuracySec=1s\n");
    // The log-in check makes up a change missed while the computer was off.
    text += QStringLiteral("Persistent=false\n");
    text += QStringLiteral("\n[Install]\nWantedBy=timers.target\n\n");
    text += kSection + u'\n';
    text += QStringLiteral("Name=%1\nApplicationName=%2\nCommandLine=%3\nCreator=%4\nComment=%5\nFlags=%6\n")
                .arg(UnitValue(task.Name), UnitValue(task.ApplicationName), UnitValue(task.CommandLine),
                     UnitValue(task.Creator), UnitValue(task.Comment))
                .arg(task.Flags);
    return text;
}

QStringList CronBlock(const TaskDefinition& task, const TaskPlaces& places) {
    QStringList lines;
    lines << kCronBegin + MarkerName(task.Name) +
                 QStringLiteral(
                     "\": made by Merivane, which replaces or removes "
                     "these lines");
    QString command;
    if (!places.ProgramHome.isEmpty()) {
        command += QStringLiteral("MERIVANE_HOME=") + CronQuoted(places.ProgramHome) + u' ';
    }
    command += CronQuoted(places.Executable);
    for (const QString& word : task.CommandLine.split(u' ', Qt::SkipEmptyParts)) {
        command += u' ' + CronQuoted(word);
    }
    for (int minutes : DailyRunMinutes(task)) {
        lines << QStringLiteral("%1 %2 * * * %3").arg(minutes % 60).arg(minutes / 60).arg(command);
    }
    lines << kCronEnd + MarkerName(task.Name) + u'"';
    return lines;
}

LinuxTaskScheduler::LinuxTaskScheduler(TaskPlaces places, CommandRunner& runner)
    : m_places(std::move(places)), m_runner(runner) {}

bool LinuxTaskScheduler::SystemdAnswers() {
    if (!m_systemd) {
        QString out;
        QString err;
        m_systemd = m_runner.RunCollecting(QStringLiteral("systemctl"),
                                           {QStringLiteral("--user"), QStringLiteral("show-environment")},
                                           kCommandTimeoutMs, &out, &err) == 0;
    }
    return *m_systemd;
}

std::unique_ptr<ScheduledTaskObject> LinuxTaskScheduler::CreateTask(const QString& name) {
    return std::make_unique<CollectingTask>(name, [this](const TaskDefinition& task) { return Save(task); });
}

bool LinuxTaskScheduler::Save(const TaskDefinition& task) {
    if (HoldsNewline(m_places.Executable) || HoldsNewline(m_places.ProgramHome) ||
        HoldsNewline(task.CommandLine)) {
        return false;
    }
    m_listed = false;
    return SystemdAnswers() ? SaveToSystemd(task) : SaveToCron(task);
}

void LinuxTaskScheduler::Systemctl(const QStringList& arguments) {
    QString out;
    QString err;
    m_runner.RunCollecting(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments,
                           kCommandTimeoutMs, &out, &err);
}

bool LinuxTaskScheduler::SaveToSystemd(const TaskDefinition& task) {
    const QString stem = UnitStem(task.Name);
    const QString folder = m_places.UnitFolder;
    const QString wants = folder + QStringLiteral("timers.target.wants/");
    if (!QDir().mkpath(wants)) {
        return false;
    }
    QString error;
    const QString timer = folder + stem + QStringLiteral(".timer");
    if (!WriteFileAtomically(folder + stem + QStringLiteral(".service"),
                             ServiceUnitText(task, m_places).toUtf8(), &error) ||
        !WriteFileAtomically(timer, TimerUnitText(task, m_places).toUtf8(), &error)) {
        return false;
    }
    // What `systemctl --user enable` makes; it works before any manager runs.
    const QString link = wants + stem + QStringLiteral(".timer");
    if (QFileInfo(link).isSymLink() || !QFileInfo::exists(link)) {
        QFile::remove(link);
        QFile::link(timer, link);
    }
    Systemctl({QStringLiteral("daemon-reload")});
    Systemctl({QStringLiteral("restart"), stem + QStringLiteral(".timer")});
    return true;
}

std::optional<QStringList> LinuxTaskScheduler::ReadCrontab() {
    QString out;
    QString err;
    int code = m_runner.RunCollecting(QStringLiteral("crontab"), {QStringLiteral("-l")}, kCommandTimeoutMs,
                                      &out, &err);
    if (code == 0) {
        return SplitLines(out);
    }
    // Anything but "no crontab for USER" may hide lines we could not read: never replace them.
    if (code > 0 && err.contains(QLatin1String("no crontab"))) {
        return QStringList{};
    }
    return std::nullopt;
}

bool LinuxTaskScheduler::WriteCrontab(const QStringList& lines) {
    QDir().mkpath(m_places.ScratchFolder);
    const QString file = m_places.ScratchFolder + QStringLiteral("crontab-%1.new").arg(::getpid());
    QString text = lines.join(u'\n');
    if (!text.isEmpty()) {
        text += u'\n';
    }
    QString error;
    if (!WriteFileAtomically(file, text.toUtf8(), &error)) {
        return false;
    }
    QString out;
    QString err;
    bool written =
        m_runner.RunCollecting(QStringLiteral("crontab"), {file}, kCommandTimeoutMs, &out, &err) == 0;
    QFile::remove(file);
    return written;
}

bool LinuxTaskScheduler::SaveToCron(const TaskDefinition& task) {
    auto lines = ReadCrontab();
    if (!lines) {
        return false;
    }
    QStringList kept;
    bool inOwn = false;
    const QString own = kCronBegin + MarkerName(task.Name) + u'"';
    for (const QString& line : *lines) {
        if (!inOwn && line.startsWith(own)) {
            inOwn = true;  // the task's old lines: a task saved again replaces them
            continue;
        }
        if (inOwn) {
            inOwn = !line.startsWith(kCronEnd);
            continue;
        }
        kept << line;
    }
    kept << CronBlock(task, m_places);
    return WriteCrontab(kept);
}

void LinuxTaskScheduler::Refresh() {
    m_found.clear();
    m_listed = true;
    const QStringList timers =
        QDir(m_places.UnitFolder).entryList({QStringLiteral("*.timer")}, QDir::Files, QDir::Name);
    for (const QString& file : timers) {
        auto text = ReadTextFile(m_places.UnitFolder + file);
        if (!text) {
            continue;
        }
        const QStringList lines = SplitLines(*text);
        int section = lines.indexOf(kSection);
        if (section < 0) {
            continue;
        }
        QStringList times;
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("OnCalendar=*-*-* "))) {
                times << line.mid(17, 5);
            }
        }
        for (int i = section + 1; i < lines.size() && !lines[i].startsWith(u'['); ++i) {
            if (lines[i].startsWith(QLatin1String("Name="))) {
                QString name = lines[i].mid(5);
                name.replace(QStringLiteral("%%"), QStringLiteral("%"));
                m_found.push_back({name, file.chopped(6), -1, times});
                break;
            }
        }
    }
    if (auto lines = ReadCrontab()) {
        int block = 0;
        bool inBlock = false;
        for (const QString& line : *lines) {
            if (line.startsWith(kCronBegin)) {
                m_found.push_back({NameInMarker(line, kCronBegin), QString(), block++, {}});
                inBlock = true;
            } else if (line.startsWith(kCronEnd)) {
                inBlock = false;
            } else if (inBlock) {
                const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
                if (fields.size() > 2) {
                    m_found.back().Times << QStringLiteral("%1:%2")
                                                .arg(fields[1].toInt(), 2, 10, QChar(u'0'))
                                                .arg(fields[0].toInt(), 2, 10, QChar(u'0'));
                }
            }
        }
    }
}

QStringList LinuxTaskScheduler::TaskNames() {
    if (!m_listed) {
        Refresh();
    }
    QStringList names;
    for (const Found& found : m_found) {
        names << found.Name;
    }
    return names;
}

void LinuxTaskScheduler::Delete(std::int16_t& position) {
    if (!m_listed) {
        Refresh();
    }
    if (position < 1 || position > static_cast<int>(m_found.size())) {
        return;
    }
    Found found = m_found[position - 1];
    if (found.CronBlock >= 0) {
        DeleteCronBlock(found.CronBlock);
    } else {
        DeleteFromSystemd(found.UnitStem);
    }
    m_listed = false;
}

QString LinuxTaskScheduler::Describe(int position) {
    if (!m_listed) {
        Refresh();
    }
    if (position < 1 || position > static_cast<int>(m_found.size())) {
        return {};
    }
    const Found& found = m_found[position - 1];
    QString where = found.CronBlock >= 0
                        ? QStringLiteral("lines of the crontab")
                        : QStringLiteral("systemd user timer %1")
                              .arg(m_places.UnitFolder + found.UnitStem + QStringLiteral(".timer"));
    return QStringLiteral("%1, %2, daily at %3")
        .arg(found.Name, where, found.Times.join(QStringLiteral(", ")));
}

void LinuxTaskScheduler::DeleteFromSystemd(const QString& stem) {
    const QString folder = m_places.UnitFolder;
    const QString timer = folder + stem + QStringLiteral(".timer");
    Systemctl({QStringLiteral("stop"), stem + QStringLiteral(".timer")});
    const QString link = folder + QStringLiteral("timers.target.wants/") + stem + QStringLiteral(".timer");
    if (QFileInfo(link).isSymLink()) {
        QFile::remove(link);
    }
    // The service is ours only when the timer that names it is: both carry our mark.
    const QString service = folder + stem + QStringLiteral(".service");
    auto serviceText = ReadTextFile(service);
    if (serviceText && serviceText->startsWith(QLatin1String("# Made by Merivane"))) {
        QFile::remove(service);
    }
    QFile::remove(timer);
    Systemctl({QStringLiteral("daemon-reload")});
}

void LinuxTaskScheduler::DeleteCronBlock(int block) {
    auto lines = ReadCrontab();
    if (!lines) {
        return;
    }
    QStringList kept;
    int seen = -1;
    bool inBlock = false;
    for (const QString& line : *lines) {
        if (!inBlock && line.startsWith(kCronBegin) && ++seen == block) {
            inBlock = true;
            continue;
        }
        if (inBlock) {
            inBlock = !line.startsWith(kCronEnd);
            continue;
        }
        kept << line;
    }
    WriteCrontab(kept);
}

std::unique_ptr<TaskSchedulerComponent> LinuxCompanion::CreateTaskScheduler() {
    auto scheduler = std::make_unique<LinuxTaskScheduler>(m_places, m_runner);
    if (!scheduler->SystemdAnswers() && !m_runner.Exists(QStringLiteral("crontab"))) {
        return nullptr;
    }
    return scheduler;
}

}  // namespace merivane
