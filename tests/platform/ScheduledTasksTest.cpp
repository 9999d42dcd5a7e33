#include "platform/TextFile.h"
#include "platform/linux/ScheduledTasks.h"
#include "platform/linux/SessionVariables.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace merivane {
namespace {

// systemctl and crontab as a script sees them: systemctl answers or not, the crontab is a
// text that `crontab -l` gives and `crontab FILE` replaces.
class SchedulerRunner final : public CommandRunner {
  public:
    bool Exists(const QString& program) const override { return installed.contains(program); }
    bool Run(const QString& program, const QStringList& arguments, int timeoutMs, QString* output) override {
        return RunCollecting(program, arguments, timeoutMs, output, nullptr) == 0;
    }
    int RunCollecting(const QString& program, const QStringList& arguments, int, QString* output,
                      QString* errors) override {
        ran << (QStringList{program} + arguments).join(u' ');
        if (output != nullptr) {
            output->clear();
        }
        if (errors != nullptr) {
            errors->clear();
        }
        if (program == "systemctl") {
            return systemd ? 0 : 1;
        }
        if (program == "crontab" && arguments == QStringList{"-l"}) {
            if (!crontab) {
                if (errors != nullptr) {
                    *errors = readError;
                }
                return 1;
            }
            if (output != nullptr) {
                *output = *crontab;
            }
            return 0;
        }
        if (program == "crontab" && arguments.size() == 1) {
            crontab = ReadTextFile(arguments[0]).value_or(QString());
            return 0;
        }
        return 127;
    }
    qint64 StartDetached(const QString&, const QStringList&) override { return 0; }
    void End(qint64, const QString&) override {}

    QStringList installed{"crontab", "systemctl"};
    bool systemd = false;
    std::optional<QString> crontab;
    QString readError = "no crontab for tester\n";
    QStringList ran;
};

TaskDefinition Task(const QString& name, double startHour, int interval = 0) {
    TaskDefinition task{name,       "merivane",
                        "/now",     "/home/u/.local/share/merivane/",
                        "Merivane", "Entry was added automatically by Merivane",
                        192,        {}};
    TaskTriggerDefinition trigger;
    trigger.TriggerType = 1;
    trigger.StartTime = startHour / 24.0;
    if (interval > 0) {
        trigger.Interval = static_cast<std::int16_t>(interval);
        trigger.Duration = 1440;
    }
    task.Triggers.push_back(trigger);
    return task;
}

class ScheduledTasksTest : public ::testing::Test {
  protected:
    ScheduledTasksTest() {
        places.UnitFolder = dir.filePath("config/systemd/user/");
        places.Executable = dir.filePath("My Tools/merivane");
        places.ScratchFolder = dir.filePath("home/working/");
        QDir().mkpath(dir.filePath("My Tools"));
        QFile::copy("/bin/true", places.Executable);
    }
    bool Save(const TaskDefinition& task) {
        LinuxTaskScheduler scheduler(places, runner);
        auto object = scheduler.CreateTask(task.Name);
        object->SetApplicationName(task.ApplicationName);
        object->SetCommandLine(task.CommandLine);
        object->SetWorkingDirectory(task.WorkingDirectory);
        object->SetFlags(task.Flags);
        for (const TaskTriggerDefinition& t : task.Triggers) {
            TaskTrigger& trigger = object->Triggers().Add();
            trigger.SetTriggerType(t.TriggerType);
            trigger.SetStartTime(t.StartTime);
            if (t.Interval) {
                trigger.SetInterval(*t.Interval);
                trigger.SetDuration(*t.Duration);
            }
        }
        return object->Save();
    }
    QStringList Names() {
        LinuxTaskScheduler scheduler(places, runner);
        scheduler.Refresh();
        return scheduler.TaskNames();
    }
    void Delete(std::int16_t position) {
        LinuxTaskScheduler scheduler(places, runner);
        scheduler.Refresh();
        scheduler.Delete(position);
    }

    QTemporaryDir dir;
    TaskPlaces places;
    SchedulerRunner runner;
};

TEST_F(ScheduledTasksTest, ASystemdTaskIsAServiceAndATimerEnabledByTheirLink) {
    runner.systemd = true;
    ASSERT_TRUE(Save(Task("Merivane", 0.5, 205)));
    const QString timer = places.UnitFolder + "merivane.timer";
    auto timerText = ReadTextFile(timer);
    auto serviceText = ReadTextFile(places.UnitFolder + "merivane.service");
    ASSERT_TRUE(timerText && serviceText);
    for (const char* line : {"OnCalendar=*-*-* 00:25:00", "OnCalendar=*-*-* 00:30:00",
                             "OnCalendar=*-*-* 21:00:00", "AccuracySec=1s", "Persistent=false",
                             "WantedBy=timers.target", "[X-Merivane]", "Name=Merivane", "Flags=192"}) {
        EXPECT_TRUE(SplitLines(*timerText).contains(line)) << line;
    }
    EXPECT_EQ(timerText->count("OnCalendar="), 8);
    for (QString line : {QString("Type=oneshot"), QString("ConditionACPower=true"),
                         "ExecStart=\"" + places.Executable + "\" /now",
                         QString("WorkingDirectory=-/home/u/.local/share/merivane/")}) {
        EXPECT_TRUE(SplitLines(*serviceText).contains(line)) << line.toStdString();
    }
    EXPECT_EQ(QFileInfo(places.UnitFolder + "timers.target.wants/merivane.timer").symLinkTarget(), timer);
    EXPECT_EQ(runner.ran.mid(1),
              QStringList({"systemctl --user daemon-reload", "systemctl --user restart merivane.timer"}));
    EXPECT_EQ(Names(), QStringList({"Merivane"}));

    runner.ran.clear();
    Delete(1);
    EXPECT_FALSE(QFileInfo::exists(timer));
    EXPECT_FALSE(QFileInfo::exists(places.UnitFolder + "merivane.service"));
    EXPECT_FALSE(QFileInfo(places.UnitFolder + "timers.target.wants/merivane.timer").isSymLink());
    EXPECT_TRUE(runner.ran.contains("systemctl --user stop merivane.timer"));
    EXPECT_TRUE(Names().isEmpty());
}

TEST_F(ScheduledTasksTest, UnitsOfOtherProgramsAreNeitherListedNorTouched) {
    runner.systemd = true;
    QDir().mkpath(places.UnitFolder);
    const QByteArray theirs = "[Timer]\nOnCalendar=daily\n";
    QFile other(places.UnitFolder + "backup.timer");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write(theirs);
    other.close();
    ASSERT_TRUE(Save(Task("Merivane", 0.5)));
    EXPECT_EQ(Names(), QStringList({"Merivane"}));
    Delete(1);
    EXPECT_EQ(ReadTextFile(places.UnitFolder + "backup.timer")->toUtf8(), theirs);
}

TEST_F(ScheduledTasksTest, TheUnitsPassSystemdsOwnCheck) {
    const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
    if (analyze.isEmpty()) {
        GTEST_SKIP() << "systemd-analyze is not installed";
    }
    places.ProgramHome = dir.filePath("a home with 100% of \"quotes\" and $signs");
    for (int perDay : {1, 7, 96}) {
        SCOPED_TRACE(perDay);
        runner.systemd = true;
        ASSERT_TRUE(Save(Task("Merivane", 0.5, perDay > 1 ? 1440 / perDay : 0)));
        QProcess verify;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        QDir().mkpath(dir.filePath("runtime"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
        verify.setProcessEnvironment(env);
        verify.start(analyze, {"--user", "verify", places.UnitFolder + "merivane.timer"});
        ASSERT_TRUE(verify.waitForFinished(60000));
        EXPECT_EQ(verify.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(verify.readAllStandardError()).trimmed(), "");
    }
}

TEST_F(ScheduledTasksTest, WithoutSystemdTheTaskIsMarkedLinesOfTheCrontab) {
    runner.crontab = "MAILTO=me\n17 3 * * * backup --all\n";
    places.ProgramHome = "/home/u/it's 100%";
    ASSERT_TRUE(Save(Task("Merivane", 0.5, 360)));
    const QString command = "MERIVANE_HOME='/home/u/it'\\''s 100\\%' '" + places.Executable + "' '/now'";
    EXPECT_EQ(*runner.crontab,
              "MAILTO=me\n17 3 * * * backup --all\n"
              "# >>> Merivane task \"Merivane\": made by Merivane, which replaces or removes these lines\n"
              "30 0 * * * " +
                  command + "\n30 6 * * * " + command + "\n30 12 * * * " + command + "\n30 18 * * * " +
                  command + "\n# <<< Merivane task \"Merivane\"\n");
    EXPECT_TRUE(QDir(places.ScratchFolder).isEmpty());

    // Saved again, the task replaces its own lines; a second task of another name is kept.
    ASSERT_TRUE(Save(Task("Other", 9.0)));
    ASSERT_TRUE(Save(Task("Merivane", 18.0)));
    EXPECT_EQ(runner.crontab->count("Merivane task \"Merivane\""), 2);
    EXPECT_TRUE(runner.crontab->contains("0 18 * * * "));
    EXPECT_FALSE(runner.crontab->contains("30 0 * * * "));
    EXPECT_EQ(Names(), QStringList({"Other", "Merivane"}));

    Delete(1);
    EXPECT_EQ(Names(), QStringList({"Merivane"}));
    EXPECT_TRUE(runner.crontab->startsWith("MAILTO=me\n17 3 * * * backup --all\n"));
    Delete(1);
    EXPECT_EQ(*runner.crontab, "MAILTO=me\n17 3 * * * backup --all\n");
}

TEST_F(ScheduledTasksTest, ACrontabThatCannotBeReadIsNeverReplaced) {
    struct Case {
        std::optional<QString> Crontab;
        QString Error;
        bool Saved;
    };
    const Case cases[] = {
        {std::nullopt, "no crontab for tester\n", true},
        {std::nullopt, "crontab: your UID isn't in the passwd file.\n", false},
        {std::nullopt, "/var/spool/cron/crontabs/tester: Permission denied\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Error.toStdString());
        runner.crontab = c.Crontab;
        runner.readError = c.Error;
        runner.ran.clear();
        EXPECT_EQ(Save(Task("Merivane", 0.5)), c.Saved);
        EXPECT_EQ(runner.crontab.has_value(), c.Saved);
    }
}

TEST(CronQuotingTest, EveryArgumentReachesTheShellAsOneWord) {
    const QString shell = QStandardPaths::findExecutable("sh");
    ASSERT_FALSE(shell.isEmpty());
    for (const QString& word : {QString("/usr/bin/merivane"), QString("/opt/a b/it's/$HOME/`x`/m"),
                                QString("semi;colon|pipe&and")}) {
        QProcess sh;
        // What cron hands to the shell: its own \% escape undone first.
        sh.start(shell, {"-c", "printf '%s' " + CronQuoted(word).replace("\\%", "%")});
        ASSERT_TRUE(sh.waitForFinished(5000));
        EXPECT_EQ(QString::fromUtf8(sh.readAllStandardOutput()), word);
    }
    EXPECT_EQ(CronQuoted("50%"), "'50\\%'");
}

// A unix socket file, as a display server or a bus leaves one.
bool MakeSocket(const QString& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path) - 1);
    bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return made;
}

TEST(SessionVariablesTest, ARunFromCronTakesTheLastSessionOnlyWhileItLives) {
    QTemporaryDir dir;
    const QString runtime = dir.filePath("run");
    QDir().mkpath(runtime);
    ASSERT_TRUE(MakeSocket(runtime + "/bus"));
    ASSERT_TRUE(MakeSocket(runtime + "/wayland-1"));
    test::FakeEnvironment session;
    session.Set("WAYLAND_DISPLAY", "wayland-1");
    session.Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime + "/bus");
    session.Set("XDG_RUNTIME_DIR", runtime);
    session.Set("XDG_CURRENT_DESKTOP", "sway");
    session.Set("HOME", "/home/u");  // not a session variable: not noted
    const QString file = dir.filePath("session.env");
    NoteSessionVariables(session, file);

    test::FakeEnvironment cron;
    cron.Set("HOME", "/home/u");
    QList<QPair<QString, QString>> expected{{"WAYLAND_DISPLAY", "wayland-1"},
                                            {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + runtime + "/bus"},
                                            {"XDG_RUNTIME_DIR", runtime},
                                            {"XDG_CURRENT_DESKTOP", "sway"}};
    EXPECT_EQ(LiveSessionVariables(cron, file), expected);

    // What the cron run has already is its own.
    cron.Set("XDG_CURRENT_DESKTOP", "GNOME");
    expected.removeLast();
    EXPECT_EQ(LiveSessionVariables(cron, file), expected);

    // The session ended (its bus went): nothing of it is taken.
    QFile::remove(runtime + "/bus");
    EXPECT_TRUE(LiveSessionVariables(cron, file).isEmpty());

    // Outside a session (a cron run itself) nothing is noted over the last session.
    NoteSessionVariables(cron, file);
    EXPECT_TRUE(ReadTextFile(file)->contains("WAYLAND_DISPLAY=wayland-1"));
}

}  // namespace
}  // namespace merivane
