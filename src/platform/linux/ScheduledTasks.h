#pragma once

#include "platform/Environment.h"
#include "platform/TaskScheduler.h"
#include "platform/linux/DesktopBackground.h"

#include <QString>

#include <vector>

namespace merivane {

// Where the scheduled tasks of this user live, and what they run.
struct TaskPlaces {
    QString UnitFolder;     // $XDG_CONFIG_HOME/systemd/user/
    QString Executable;     // absolute path of the program the task starts
    QString ProgramHome;    // MERIVANE_HOME to pass on; empty for the default home
    QString ScratchFolder;  // where the new crontab is written before it is installed
};

// The absolute path of the merivane program: this process's own executable, or the
// merivane beside it when this is another of its programs.
QString MerivaneExecutable();

TaskPlaces TaskPlacesFor(const Environment& env, const QString& executable, const QString& scratch);

// Quoting for the command lines that systemd reads (ExecStart=) and that cron hands to
// /bin/sh: each argument comes back as one word whatever it holds.
QString SystemdQuoted(const QString& argument);
QString CronQuoted(const QString& argument);

// The text of the service and timer units of a task (the timer carries the task's own
// values in its [X-Merivane] section, by which enumeration finds it).
QString ServiceUnitText(const TaskDefinition& task, const TaskPlaces& places);
QString TimerUnitText(const TaskDefinition& task, const TaskPlaces& places);
// The file name stem of a task's units: its name in lower case, anything but letters and
// digits turned into '-'.
QString UnitStem(const QString& taskName);

// The machine's task scheduler: systemd user timers when the user's manager answers,
// else the user's crontab. Tasks are found by what we wrote into them, so nothing that
// another program made is listed, changed or deleted.
class LinuxTaskScheduler final : public TaskSchedulerComponent {
  public:
    LinuxTaskScheduler(TaskPlaces places, CommandRunner& runner);

    std::unique_ptr<ScheduledTaskObject> CreateTask(const QString& name) override;
    void Refresh() override;
    QStringList TaskNames() override;
    void Delete(std::int16_t& position) override;
    QString Describe(int position) override;

    // Whether `systemctl --user` reaches a running manager (asked once per object).
    bool SystemdAnswers();

  private:
    struct Found {
        QString Name;
        QString UnitStem;    // systemd: the stem of its units
        int CronBlock = -1;  // cron: the index of its block among ours
        QStringList Times;   // HH:MM, as written
    };
    bool Save(const TaskDefinition& task);
    bool SaveToSystemd(const TaskDefinition& task);
    bool SaveToCron(const TaskDefinition& task);
    void DeleteFromSystemd(const QString& stem);
    void DeleteCronBlock(int block);
    std::optional<QStringList> ReadCrontab();
    bool WriteCrontab(const QStringList& lines);
    void Systemctl(const QStringList& arguments);

    TaskPlaces m_places;
    CommandRunner& m_runner;
    std::optional<bool> m_systemd;
    std::vector<Found> m_found;
    bool m_listed = false;
};

// The crontab lines of a task, markers included.
QStringList CronBlock(const TaskDefinition& task, const TaskPlaces& places);

class LinuxCompanion final : public CompanionComponent {
  public:
    LinuxCompanion(TaskPlaces places, CommandRunner& runner)
        : m_places(std::move(places)), m_runner(runner) {}
    // Nothing when neither a user systemd answers nor cron's crontab is there.
    std::unique_ptr<TaskSchedulerComponent> CreateTaskScheduler() override;

  private:
    TaskPlaces m_places;
    CommandRunner& m_runner;
};

}  // namespace merivane
