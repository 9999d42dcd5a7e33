#include "app/Main.h"
#include "calendar/EventTable.h"
#include "platform/TextFile.h"
#include "schedule/Autostart.h"
#include "schedule/HiddenWindow.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace merivane {
namespace {

SerialDate At(int y, unsigned m, unsigned d, int hour, int minute, double second = 0) {
    return *SerialFromYmd(y, m, d) + (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

// A program with one theme named after Christmas, set up as the resident sees it.
class ResidentTest : public ::testing::Test {
  protected:
    ResidentTest() : program(sys.Get()) {
        sys.Home().InstallShippedData(QStringLiteral(MERIVANE_SOURCE_DATA_DIR));
        sys.env.Set("XDG_CONFIG_HOME", sys.Scratch("config"));
        sys.clock.now = At(2026, 12, 24, 10, 0);
        program.Resident = &ports;
        program.Companion = &companion;
        program.ExecutablePath = "/opt/Merivane Tools/merivane";
        SetStartupGlobals(program);
        LoadSettings(program);
        LoadEventTable(program);
        program.Setup.FilesToUse = 0;
        theme = sys.WriteFile(program.Setup.ThemePath + "Christmas Snow.theme", "[Theme]\r\n");
    }
    void UseMethod(int type, double hourOfDay = 0.5, int perDay = 1) {
        program.Setup.TypeOfScheduling = static_cast<std::int16_t>(type);
        program.Setup.ScheduledTime = hourOfDay / 24.0;
        program.Setup.ChangesPerDay = static_cast<std::int16_t>(perDay);
    }
    QString RunValue() {
        RegOp run(sys.Get());
        run.SetKey(kRunKey);
        return run.Value(kRunValueName).ToText();
    }
    QStringList TakeCalls() {
        QStringList calls = ports.calls;
        ports.calls.clear();
        return calls;
    }

    test::TestPlatform sys;
    test::FakeResidentPorts ports;
    test::FakeCompanion companion;
    Program program;
    QString theme;
};

TEST_F(ResidentTest, TheClockChangesWhenTheSlotComesAndRecreatesTheIconEachHour) {
    UseMethod(2, 0.5, 4);  // slots 00:30, 06:30, 12:30, 18:30
    frmHidden& hidden = program.Hidden();
    hidden.StartAutoScheduler();
    EXPECT_EQ(TakeCalls(), QStringList({"clock on", "add: Merivane - Next change at 12:30 PM"}));
    EXPECT_TRUE(program.KeepsRunning());

    struct Tick {
        SerialDate Now;
        QStringList Calls;
        bool Changed;
    };
    const Tick ticks[] = {
        {At(2026, 12, 24, 10, 0, 0.5), {}, false},
        {At(2026, 12, 24, 10, 59, 59), {}, false},
        // A new hour: the icon is made again with its tooltip.
        {At(2026, 12, 24, 11, 0), {"remove", "add: Merivane - Next change at 12:30 PM"}, false},
        {At(2026, 12, 24, 12, 29, 59.5), {"remove", "add: Merivane - Next change at 12:30 PM"}, false},
        {At(2026, 12, 24, 12, 30), {"remove", "add: Merivane - Next change at 06:30 PM"}, true},
        {At(2026, 12, 24, 12, 30, 0.5), {}, false},
        // Woken from sleep long after a slot: one change, and the next slot after it.
        {At(2026, 12, 24, 23, 10), {"remove", "add: Merivane - Next change at 12:30 AM"}, true},
    };
    for (const Tick& t : ticks) {
        SCOPED_TRACE(DateTimeOfSerial(t.Now).toString(Qt::ISODate).toStdString());
        sys.clock.now = t.Now;
        const SerialDate before = program.LastChange.ChangeDate;
        hidden.Tick();
        EXPECT_EQ(TakeCalls(), t.Calls);
        EXPECT_EQ(program.LastChange.ChangeDate != before, t.Changed);
    }
    EXPECT_EQ(program.LastChange.FileName, theme);
    EXPECT_DOUBLE_EQ(hidden.NextChangeTime, At(2026, 12, 25, 0, 30));
    // The next change falls on another day: the catalogue is made again for it.
    EXPECT_TRUE(program.Catalogue.empty());
}

TEST_F(ResidentTest, AChangeThatChangesNothingRunsAgainOnTheNextTick) {
    QFile::remove(theme);
    UseMethod(2, 10.0, 1);
    program.LastChange.ChangeDate = At(2026, 12, 23, 10, 0);
    frmHidden& hidden = program.Hidden();
    hidden.StartAutoScheduler();
    TakeCalls();
    for (int i = 0; i < 3; ++i) {
        sys.clock.now += 0.5 / kSecondsPerDay;
        hidden.Tick();
        EXPECT_EQ(TakeCalls(), QStringList({"remove", "add: Merivane - Next change at 10:00 AM"}));
    }
    EXPECT_DOUBLE_EQ(program.LastChange.ChangeDate, At(2026, 12, 23, 10, 0));

    // A tick while a change runs (it lets events run) is skipped.
    program.ChangeInProgress = true;
    hidden.Tick();
    EXPECT_TRUE(TakeCalls().isEmpty());
}

TEST_F(ResidentTest, OnlyTheResidentMethodLetsTheClockChange) {
    for (int method : {0, 1, 3}) {
        SCOPED_TRACE(method);
        UseMethod(2);
        program.LastChange.ChangeDate = At(2026, 12, 20, 9, 0);
        program.Hidden().StartAutoScheduler();
        UseMethod(method);
        sys.clock.now = At(2026, 12, 24, 11, 0);
        TakeCalls();
        program.Hidden().Tick();
        EXPECT_TRUE(TakeCalls().isEmpty());
        EXPECT_DOUBLE_EQ(program.LastChange.ChangeDate, At(2026, 12, 20, 9, 0));
        program.Hidden().StopAutoScheduler();
    }
}

TEST_F(ResidentTest, SuspendingShowsTheSuspendedIconAndTheMenuStillChanges) {
    UseMethod(2, 0.5, 4);
    frmHidden& hidden = program.Hidden();
    hidden.StartAutoScheduler();
    TakeCalls();

    hidden.MenuCommand(frmHidden::kSuspend);
    EXPECT_EQ(TakeCalls(),
              QStringList({"clock off", "remove", "add suspended: Merivane - Changes suspended"}));
    EXPECT_TRUE(hidden.Item(frmHidden::kSuspend)->Checked);
    EXPECT_TRUE(program.KeepsRunning());

    sys.clock.now = At(2026, 12, 24, 13, 0);  // past the slot: a suspended clock does nothing
    hidden.Tick();
    EXPECT_TRUE(TakeCalls().isEmpty());
    EXPECT_EQ(program.LastChange.ChangeDate, 0);

    hidden.MenuCommand(frmHidden::kApplyNewTheme);
    EXPECT_EQ(program.LastChange.FileName, theme);
    EXPECT_FALSE(hidden.ClockEnabled());
    EXPECT_DOUBLE_EQ(hidden.NextChangeTime, At(2026, 12, 24, 12, 30));  // not recomputed by the menu

    // Stopping leaves a suspended icon where it is.
    hidden.StopAutoScheduler();
    EXPECT_TRUE(TakeCalls().isEmpty());
    EXPECT_TRUE(hidden.IconShown());

    // Resuming shows the time that was due, not a new one.
    hidden.MenuCommand(frmHidden::kSuspend);
    EXPECT_EQ(TakeCalls(), QStringList({"clock on", "remove", "add: Merivane - Next change at 12:30 PM"}));
    EXPECT_FALSE(hidden.Item(frmHidden::kSuspend)->Checked);
}

TEST_F(ResidentTest, TheMenuHasItsItemsAndShowsRestoreOnlyWhenPositionsAreKept) {
    frmHidden& hidden = program.Hidden();
    QStringList captions;
    for (const auto& item : hidden.mnuPopup()) {
        captions << QStringLiteral("%1 %2").arg(item.Index).arg(item.Caption);
    }
    EXPECT_EQ(captions, QStringList({"0 &Open...", "1 -", "2 &Apply New Theme", "3 &Suspend Changes",
                                     "7 &Restore Icon Positions", "8 -", "9 &Exit"}));
    for (bool keep : {false, true, false}) {
        program.Setup.KeepIconPositions = keep;
        hidden.MouseEvent(frmHidden::kRightButtonUp);
        EXPECT_EQ(hidden.Item(frmHidden::kRestoreIcons)->Visible, keep);
        EXPECT_TRUE(hidden.Item(8)->Visible);
        EXPECT_TRUE(hidden.Item(1)->Visible);
    }

    hidden.MouseEvent(0x201);  // a single click
    EXPECT_TRUE(TakeCalls().isEmpty());
    hidden.MouseEvent(frmHidden::kDoubleClick);
    hidden.MouseEvent(frmHidden::kDoubleClick);  // open already: shown again
    hidden.MenuCommand(frmHidden::kOpen);
    EXPECT_EQ(TakeCalls(), QStringList({"setup window", "setup window", "setup window"}));

    UseMethod(2);
    hidden.StartAutoScheduler();
    TakeCalls();
    hidden.MenuCommand(frmHidden::kExit);
    EXPECT_EQ(TakeCalls(), QStringList({"remove", "end"}));
    EXPECT_FALSE(program.KeepsRunning());
}

TEST_F(ResidentTest, TheRunValueAndItsAutostartEntryComeAndGoTogether) {
    AddRunEntry(program);
    EXPECT_EQ(RunValue(), program.AppPath + "merivane.exe  /check");
    const QString file = sys.Scratch("config") + "/autostart/merivane.desktop";
    auto text = ReadTextFile(file);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains("\nExec=\"/opt/Merivane Tools/merivane\" /check\n")) << text->toStdString();

    RemoveRunEntry(program);
    EXPECT_EQ(RunValue(), "");
    EXPECT_FALSE(QFileInfo::exists(file));

    // An entry of that name that the user made is theirs: kept, never rewritten.
    sys.WriteFile(file, "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n");
    AddRunEntry(program);
    RemoveRunEntry(program);
    EXPECT_EQ(*ReadTextFile(file), "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n");
}

TEST(AutostartEntryTest, ExecArgumentsAreQuotedByTheDesktopEntryRules) {
    struct Case {
        const char* Argument;
        const char* Written;
    };
    const Case cases[] = {
        {"/usr/bin/merivane", "/usr/bin/merivane"},
        {"/opt/My Tools/merivane", "\"/opt/My Tools/merivane\""},
        {"/opt/say \"hi\"/m", "\"/opt/say \\\\\"hi\\\\\"/m\""},
        {"/opt/back\\slash/m", "\"/opt/back\\\\\\\\slash/m\""},
        {"/opt/$HOME/m", "\"/opt/\\\\$HOME/m\""},
        {"/opt/50%/m", "/opt/50%%/m"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopExecArgument(c.Argument), c.Written) << c.Argument;
    }

    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString file = dir.filePath("merivane.desktop");
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(AutostartEntryText(c.Argument, "/home/u/My Merivane").toUtf8());
        out.close();
        QProcess validate;
        validate.start("desktop-file-validate", {file});
        ASSERT_TRUE(validate.waitForFinished(20000));
        EXPECT_EQ(validate.exitCode(), 0) << c.Argument;
        EXPECT_EQ(validate.readAll().trimmed(), "") << c.Argument;
    }
}

TEST_F(ResidentTest, TheTaskRunsNowAtTheSlotsOfTheDay) {
    struct Case {
        int PerDay;
        std::optional<std::int16_t> Interval;
        std::vector<int> Minutes;
    };
    std::vector<int> every15;
    for (int m = 30; m < 1440 + 30; m += 15) {
        every15.push_back(m % 1440);
    }
    std::sort(every15.begin(), every15.end());
    const Case cases[] = {
        {1, std::nullopt, {30}},
        {4, 360, {30, 390, 750, 1110}},
        // 205-minute steps for the whole day, the end included: eight runs.
        {7, 205, {25, 30, 235, 440, 645, 850, 1055, 1260}},
        {96, 15, every15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.PerDay);
        companion.tasks.clear();
        UseMethod(3, 0.5, c.PerDay);
        CreateScheduledTask(program);
        ASSERT_EQ(companion.tasks.size(), 1u);
        const TaskDefinition& task = companion.tasks[0];
        EXPECT_EQ(task.Name, "Merivane");
        EXPECT_EQ(task.ApplicationName, "merivane");
        EXPECT_EQ(task.CommandLine, "/now");
        EXPECT_EQ(task.WorkingDirectory, program.AppPath);
        EXPECT_EQ(task.Creator, "Merivane");
        EXPECT_EQ(task.Comment, "Entry was added automatically by Merivane");
        EXPECT_EQ(task.Flags, 192);
        ASSERT_EQ(task.Triggers.size(), 1u);
        const TaskTriggerDefinition& trigger = task.Triggers[0];
        EXPECT_EQ(trigger.TriggerType, 1);
        EXPECT_DOUBLE_EQ(trigger.BeginDay, sys.clock.now);
        EXPECT_DOUBLE_EQ(trigger.StartTime, 0.5 / 24);
        EXPECT_EQ(trigger.Interval, c.Interval);
        EXPECT_EQ(trigger.Duration, c.Interval ? std::optional<std::int16_t>(1440) : std::nullopt);
        EXPECT_EQ(DailyRunMinutes(task), c.Minutes);
    }
}

TEST_F(ResidentTest, DeletingFindsTheFirstTaskOfTheNameInAnyLetterCase) {
    for (const char* name : {"Other", "MERIVANE", "Merivane"}) {
        companion.tasks.push_back(TaskDefinition{name, {}, {}, {}, {}, {}, 0, {}});
    }
    DeleteScheduledTask(program);
    EXPECT_EQ(companion.calls, QStringList({"refresh", "delete 2"}));
    ASSERT_EQ(companion.tasks.size(), 2u);
    EXPECT_EQ(companion.tasks[0].Name, "Other");
    EXPECT_EQ(companion.tasks[1].Name, "Merivane");
}

TEST_F(ResidentTest, WithoutATaskSchedulerTheResidentClockStandsIn) {
    companion.available = false;
    UseMethod(3);
    CreateScheduledTask(program);
    EXPECT_EQ(companion.creations, 2);  // once more after registering
    EXPECT_EQ(program.Setup.TypeOfScheduling, 2);
    EXPECT_EQ(TakeCalls(), QStringList({"clock on", "add: Merivane - Next change at 12:30 AM"}));
    LoadSettings(program);
    EXPECT_EQ(program.Setup.TypeOfScheduling, 0);  // in memory only

    DeleteScheduledTask(program);  // nothing to delete from: silent
    EXPECT_TRUE(companion.calls.isEmpty());
}

TEST_F(ResidentTest, ChangingTheMethodMovesTheEntries) {
    const QString autostart = sys.Scratch("config") + "/autostart/merivane.desktop";
    for (int from = 0; from <= 3; ++from) {
        for (int to = 0; to <= 3; ++to) {
            if (from == to) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << from << " -> " << to);
            Program p(sys.Get());
            p.Resident = &ports;
            p.Companion = &companion;
            p.ExecutablePath = program.ExecutablePath;
            SetStartupGlobals(p);
            LoadSettings(p);
            companion.tasks.clear();
            RemoveRunEntry(p);
            // What the old method had in place.
            p.Setup.TypeOfScheduling = static_cast<std::int16_t>(from);
            if (from >= 1) {
                AddRunEntry(p);
            }
            if (from == 2) {
                p.Hidden().StartAutoScheduler();
            }
            if (from == 3) {
                CreateScheduledTask(p);
            }
            ports.calls.clear();
            companion.calls.clear();

            p.Setup.TypeOfScheduling = static_cast<std::int16_t>(to);
            ChangeScheduling(p, from, to, 0.5 / 24, 0.5 / 24, 1, 1);

            QStringList tray;
            if (from == 2) {
                tray << "clock off"
                     << "remove";
            }
            if (to == 2) {
                tray << "clock on"
                     << "add: Merivane - Next change at 12:30 AM";
            }
            EXPECT_EQ(ports.calls, tray);
            QStringList tasks;
            if (from == 3) {
                tasks << "refresh"
                      << "delete 1";
            }
            if (to == 3) {
                tasks << "create Merivane"
                      << "save Merivane";
            }
            EXPECT_EQ(companion.calls, tasks);
            EXPECT_EQ(companion.tasks.size(), to == 3 ? 1u : 0u);
            EXPECT_EQ(RunValue().isEmpty(), to == 0);
            EXPECT_EQ(QFileInfo::exists(autostart), to != 0);
            EXPECT_EQ(p.KeepsRunning(), to == 2);
        }
    }
}

TEST_F(ResidentTest, ANewTimeMovesOnlyWhatDependsOnIt) {
    struct Case {
        int Method;
        double NewHour;
        int NewPerDay;
        QStringList Tasks;
    };
    const Case cases[] = {
        {1, 18.0, 1, {}},
        {2, 18.0, 1, {}},
        {3, 18.0, 1, {"refresh", "delete 1", "create Merivane", "save Merivane"}},
        {3, 0.5, 6, {"refresh", "delete 1", "create Merivane", "save Merivane"}},
        {3, 0.5, 1, {}},  // nothing changed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Method << " at " << c.NewHour << " x" << c.NewPerDay);
        companion.tasks.clear();
        UseMethod(c.Method);
        if (c.Method == 3) {
            CreateScheduledTask(program);
        }
        if (c.Method == 2) {
            program.Hidden().StartAutoScheduler();
        }
        companion.calls.clear();
        ports.calls.clear();
        UseMethod(c.Method, c.NewHour, c.NewPerDay);
        ChangeScheduling(program, c.Method, c.Method, 0.5 / 24, c.NewHour / 24, 1, c.NewPerDay);
        EXPECT_EQ(companion.calls, c.Tasks);
        // The resident takes the new time at once; its tooltip waits for the next re-creation.
        EXPECT_TRUE(ports.calls.isEmpty());
        if (c.Method == 2) {
            EXPECT_DOUBLE_EQ(program.Hidden().NextChangeTime, At(2026, 12, 24, 18, 0));
            program.Hidden().StopAutoScheduler();
        }
    }
}

TEST_F(ResidentTest, TheHandlersStartTheResidentOnlyForItsMethodInTheFirstInstance) {
    struct Case {
        QStringList Args;
        int Method;
        bool AnotherRunning;
        bool Resident;
        bool SetupShown;
    };
    sys.env.Set("DISPLAY", ":0");
    const Case cases[] = {
        {{"/c"}, 2, false, true, false},  {{"/c"}, 2, true, false, false}, {{"/c"}, 1, false, false, false},
        {{"/c"}, 3, false, false, false}, {{}, 2, false, true, true},      {{}, 0, false, false, true},
        {{"/i"}, 2, false, true, true},   {{"/i"}, 2, true, false, true},  {{"/n"}, 2, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Args.join(' ').toStdString() << " method " << c.Method
                                        << (c.AnotherRunning ? " beside another" : ""));
        RegOp setup(sys.Get());
        setup.SetKey(QString(kAppKey) + R"(\Setup)");
        setup.SetValue("TypeOfScheduling", Variant::Integer(static_cast<std::int16_t>(c.Method)));
        sys.instances.anotherRunning = c.AnotherRunning;
        ports.calls.clear();
        Program p(sys.Get());
        p.Resident = &ports;
        p.Companion = &companion;
        Main(p, c.Args);
        EXPECT_EQ(p.KeepsRunning(), c.Resident);
        EXPECT_EQ(ports.calls.contains("setup window"), c.SetupShown);
    }
}

TEST_F(ResidentTest, UninstallRemovesEveryAutomaticEntry) {
    UseMethod(3);
    AddRunEntry(program);
    CreateScheduledTask(program);
    Program p(sys.Get());
    p.Resident = &ports;
    p.Companion = &companion;
    Main(p, {"/u"});
    EXPECT_EQ(RunValue(), "");
    EXPECT_FALSE(QFileInfo::exists(sys.Scratch("config") + "/autostart/merivane.desktop"));
    EXPECT_TRUE(companion.tasks.empty());
}

}  // namespace
}  // namespace merivane
