#include "app/Ctl.h"

#include "app/Main.h"

#include "settings/DateText.h"
#include "settings/RegFile.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"

#include <QFile>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class CtlTest : public ::testing::Test {
  protected:
    test::TestPlatform sys;
};

TEST_F(CtlTest, ExportThenImportRestoresTheStore) {
    {
        Program firstRun(sys.Get());  // a store as the program leaves it
        SetStartupGlobals(firstRun);
        LoadSettings(firstRun);
    }
    sys.store->CreateKey(RegRoot::CurrentUser, R"(Software\Brennock\Merivane\Setup)");
    sys.store->SetValue(RegRoot::CurrentUser, R"(Software\Brennock\Merivane\Setup)", "ChangesPerDay",
                        kRegDword, QByteArray("\x02\0\0\0", 4));
    ASSERT_EQ(RunCtl(sys.Get(), {"reg", "export", R"(HKEY_CURRENT_USER\Software\Brennock\Merivane)"}), 0);
    QString exported = sys.console.out;
    EXPECT_TRUE(exported.contains("\"ChangesPerDay\"=dword:00000002"));

    QString file = sys.WriteFile(sys.Scratch("saved.reg"), exported.toUtf8());
    sys.store->DeleteTree(RegRoot::CurrentUser, "Software");
    EXPECT_EQ(RunCtl(sys.Get(), {"reg", "import", file}), 0);
    sys.console.out.clear();
    RunCtl(sys.Get(), {"reg", "export", R"(HKCU\Software\Brennock\Merivane)"});
    EXPECT_EQ(sys.console.out, exported);
}

TEST_F(CtlTest, ProblemsAreToldOnStandardErrorWithAnExitCode) {
    struct Case {
        QStringList Args;
        int Code;
        const char* Says;
    };
    QString bad = sys.WriteFile(sys.Scratch("bad.reg"), "REGEDIT4\n[HKEY_CURRENT_USER\\x]\nnonsense\n");
    QString latin =
        sys.WriteFile(sys.Scratch("latin.reg"), "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\"a\"=\"caf\xe9\"\n");
    const Case cases[] = {
        {{}, 2, "usage:"},
        {{"reg"}, 2, "usage:"},
        {{"reg", "export", "a", "b"}, 2, "usage:"},
        {{"reg", "import"}, 2, "usage:"},
        {{"reg", "import", sys.Scratch("missing.reg")}, 1, "cannot read"},
        {{"reg", "import", bad}, 1, "line 3:"},
        {{"reg", "export", "HKCU\\Nope"}, 1, "does not exist"},
        {{"reg", "import", latin}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        sys.console.err.clear();
        EXPECT_EQ(RunCtl(sys.Get(), c.Args), c.Code);
        EXPECT_TRUE(sys.console.err.contains(c.Says)) << sys.console.err.toStdString();
    }
    // A file in the Windows code page reads as such.
    EXPECT_EQ(sys.store->QueryValue(RegRoot::CurrentUser, "x", "a")->Data, QByteArray("caf\xc3\xa9\0", 6));
}

TEST_F(CtlTest, EventsPrintsTheYearScheduleOfTheTable) {
    sys.WriteFile(sys.Home().Home + "Merivane.hol",
                  "; comment\r\nChristmas\tx\t12\t25\t14\txmas;santa\r\nLeap Day\tx\t2\t29\t1\t\r\n"
                  "Anything\tz\r\nSpring Equinox\ts\t0\t0\t2\tvernal\r\n");
    ASSERT_EQ(RunCtl(sys.Get(), {"events", "--year", "2027"}), 0);
    EXPECT_EQ(sys.console.out,
              "name\tstarts\tends\tdays\ttype\tmonth\tday\tshown\tkeywords\n"
              "Christmas\t2027-12-12\t2027-12-25\t14\tx\t12\t25\t14\txmas;santa\n"
              "Leap Day\tUNDEFINED\tUNDEFINED\t0\tx\t2\t29\t1\t\n"
              "Anything\tUNDEFINED\tUNDEFINED\t0\tz\t0\t0\t0\t\n"
              "Spring Equinox\t2027-03-20\t2027-03-21\t2\ts\t0\t0\t2\tvernal\n");

    // The year defaults to the clock's; the southern setting moves the seasons.
    sys.clock.now = *SerialFromYmd(2028, 6, 1);
    RegOp setup(sys.Get());
    setup.SetKey(QStringLiteral(R"(Software\Brennock\Merivane\Setup)"));
    setup.SetValue("SouthernHemisphere", Variant::Boolean(true));
    sys.console.out.clear();
    ASSERT_EQ(RunCtl(sys.Get(), {"events"}), 0);
    EXPECT_TRUE(sys.console.out.contains("Leap Day\t2028-02-29\t2028-02-29\t1\t"));
    EXPECT_TRUE(sys.console.out.contains("Spring Equinox\t2028-09-22\t2028-09-23\t2\t"));
}

TEST_F(CtlTest, EventsReadsAnotherTableAndRefusesBadArguments) {
    QString table = sys.WriteFile(sys.Scratch("other.hol"), "Only\tx\t7\t4\t1\r\n");
    ASSERT_EQ(RunCtl(sys.Get(), {"events", "--table", table, "--year", "2026"}), 0);
    EXPECT_TRUE(sys.console.out.endsWith("Only\t2026-07-04\t2026-07-04\t1\tx\t7\t4\t1\t\n"));

    // No table in the home yet: a header and no events.
    sys.console.out.clear();
    EXPECT_EQ(RunCtl(sys.Get(), {"events"}), 0);
    EXPECT_EQ(sys.console.out.count(u'\n'), 1);

    struct Case {
        QStringList Args;
        int Code;
    };
    const Case cases[] = {
        {{"events", "--year", "99"}, 2},
        {{"events", "--year", "twenty"}, 2},
        {{"events", "--year"}, 2},
        {{"events", "--colour"}, 2},
        {{"events", "--table", sys.Scratch("none.hol")}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        sys.console.err.clear();
        EXPECT_EQ(RunCtl(sys.Get(), c.Args), c.Code);
        EXPECT_FALSE(sys.console.err.isEmpty());
    }
}

TEST_F(CtlTest, MatchTellsTheEventAndWindowOfEachText) {
    sys.WriteFile(sys.Home().Home + "Merivane.hol",
                  "Christmas\tx\t12\t25\t14\txmas\r\nSummer\ts\t1\t0\t0\t\r\nOdd\tz\r\n");
    sys.clock.now = *SerialFromYmd(2026, 12, 9);
    ASSERT_EQ(RunCtl(sys.Get(), {"match", "Christmas Snow", "Summer 2027", "Lake", "Do Not Use", "Odd one"}),
              0);
    EXPECT_EQ(sys.console.out,
              "Christmas Snow\tChristmas\t2026-12-12\t2026-12-25\t14\n"
              "Summer 2027\tSummer\t2027-06-22\t2027-09-21\t92\n"  // a fresh home takes years from names
              "Lake\t\tany\tany\t999\n"
              "Do Not Use\t\tnever\tnever\t0\n"
              "Odd one\tOdd\tany\tany\t999\n");
    sys.console.out.clear();
    ASSERT_EQ(RunCtl(sys.Get(), {"match", "--no-year-in-name", "Summer 2027"}), 0);
    EXPECT_EQ(sys.console.out, "Summer 2027\tSummer\t2026-06-22\t2026-09-21\t92\n");
    EXPECT_EQ(RunCtl(sys.Get(), {"match"}), 2);
}

TEST_F(CtlTest, FilesAndExplainLookWithoutChangingAnything) {
    sys.WriteFile(sys.Home().Home + "Merivane.hol",
                  "Christmas\tx\t12\t25\t14\txmas\r\nNew Year\tx\t1\t1\t2\r\n");
    QString themes = sys.Home().WindowsDir + "Resources/Themes/";
    sys.WriteFile(themes + "Xmas Tree.theme");
    sys.WriteFile(themes + "Lake.theme");
    sys.WriteFile(themes + "Old.theme");
    sys.WriteFile(sys.Home().Home + "Merivane.ovr", "[Old.theme]\r\nx=0 0 *** Do Not Use ***\r\n");
    sys.WriteFile(sys.Home().Home + "Merivane.fav", "Lake.theme\r\n");
    sys.clock.now = *SerialFromYmd(2026, 12, 20) + 0.5;
    QString before = *ExportRegistry(*sys.store, QString(), nullptr);

    ASSERT_EQ(RunCtl(sys.Get(), {"files"}), 0);
    EXPECT_EQ(sys.console.out, "path\ttype\tfav\tstarts\tends\tdays\toverride\toverride_text\n" + themes +
                                   "Lake.theme\ttheme\tyes\tany\tany\t999\t\t\n" + themes +
                                   "Old.theme\ttheme\tno\tnever\tnever\t0\texclusive\t*** Do Not Use ***\n" +
                                   themes + "Xmas Tree.theme\ttheme\tno\t2026-12-12\t2026-12-25\t14\t\t\n");

    sys.console.out.clear();
    ASSERT_EQ(RunCtl(sys.Get(), {"explain"}), 0);
    EXPECT_EQ(sys.console.out, "choice\t" + themes + "Xmas Tree.theme\tRegular event\n" + "candidate\t" +
                                   themes + "Xmas Tree.theme\t2026-12-12\t2026-12-25\t14\n");

    // Nothing was written: no first-run settings, no statistics, no keys made by reading.
    EXPECT_EQ(*ExportRegistry(*sys.store, QString(), nullptr), before);

    sys.clock.now = *SerialFromYmd(2026, 7, 1);
    sys.console.out.clear();
    ASSERT_EQ(RunCtl(sys.Get(), {"explain"}), 0);
    EXPECT_EQ(sys.console.out, "choice\t" + themes + "Lake.theme\tRegular event\ncandidate\t" + themes +
                                   "Lake.theme\tany\tany\t999\n");
    EXPECT_EQ(RunCtl(sys.Get(), {"files", "extra"}), 2);
}

TEST_F(CtlTest, ExplainSaysWhenThereIsNoChoice) {
    ASSERT_EQ(RunCtl(sys.Get(), {"explain"}), 0);
    EXPECT_EQ(sys.console.out, "choice\t\tNo Choices\n");
}

TEST_F(CtlTest, SampleNeverOverwritesAndSaysWhatItCouldNotMake) {
    const QString pictures = sys.Scratch("Pictures");
    const QString mine = sys.WriteFile(pictures + "/Christmas Snow.jpg", "my own picture");
    ASSERT_EQ(RunCtl(sys.Get(), {"sample", pictures, sys.Scratch("Themes")}), 0);
    QFile kept(mine);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "my own picture");
    EXPECT_FALSE(sys.console.out.contains("Christmas Snow.jpg"));
    EXPECT_TRUE(sys.console.out.contains(pictures + "/Halloween Night.jpg\n"));
    EXPECT_EQ(sys.console.err, "merivanectl: " + mine + " is there already; it was left as it is\n");

    // A second run makes nothing and keeps everything; a folder that cannot be made fails.
    sys.console.out.clear();
    sys.console.err.clear();
    ASSERT_EQ(RunCtl(sys.Get(), {"sample", pictures, sys.Scratch("Themes")}), 0);
    EXPECT_TRUE(sys.console.out.isEmpty());
    EXPECT_EQ(sys.console.err.count("left as it is"), 16);
    const QString blocked = sys.WriteFile(sys.Scratch("a file"), "x");
    sys.console.err.clear();
    EXPECT_EQ(RunCtl(sys.Get(), {"sample", pictures, blocked + "/Themes"}), 1);
    EXPECT_TRUE(
        sys.console.err.contains("merivanectl: could not make " + blocked + "/Themes/Spring Garden.theme"));
}

class CtlScheduleTest : public CtlTest {
  protected:
    CtlScheduleTest() { sys.env.Set("XDG_CONFIG_HOME", sys.Scratch("config")); }
    int Ctl(const QStringList& args) { return RunCtl(sys.Get(), args, {"/usr/bin/merivane", &companion}); }
    AppSettings Stored() {
        Program p(sys.Get());
        SetStartupGlobals(p);
        LoadSettings(p);
        return p.Setup;
    }
    test::FakeCompanion companion;
};

TEST_F(CtlScheduleTest, ScheduleStoresAsTheSettingsTabDoesAndMovesTheEntries) {
    struct Case {
        QStringList Args;
        int Code;
        int Method;
        const char* Time;
        int PerDay;
        std::size_t Tasks;
    };
    const Case cases[] = {
        {{"schedule", "3", "--time", "6:30 PM", "--per-day", "100"}, 0, 3, "06:30 PM", 96, 1},
        {{"schedule", "3", "--per-day", "0"}, 0, 3, "06:30 PM", 1, 1},
        {{"schedule", "3", "--per-day", "abc"}, 0, 3, "06:30 PM", 1, 1},
        // The time belongs to the timed methods only.
        {{"schedule", "1", "--time", "08:00", "--per-day", "4"}, 0, 1, "06:30 PM", 4, 0},
        {{"schedule", "2", "--time", "08:00"}, 0, 2, "08:00 AM", 4, 0},
        {{"schedule", "4"}, 2, 2, "08:00 AM", 4, 0},
        {{"schedule", "x"}, 2, 2, "08:00 AM", 4, 0},
        {{"schedule", "3", "--time", "25:99"}, 2, 2, "08:00 AM", 4, 0},
        {{"schedule", "3", "--bogus"}, 2, 2, "08:00 AM", 4, 0},
        {{"schedule", "0"}, 0, 0, "08:00 AM", 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        sys.console.err.clear();
        EXPECT_EQ(Ctl(c.Args), c.Code) << sys.console.err.toStdString();
        AppSettings setup = Stored();
        EXPECT_EQ(setup.TypeOfScheduling, c.Method);
        EXPECT_EQ(MediumTimeText(setup.ScheduledTime), c.Time);
        EXPECT_EQ(setup.ChangesPerDay, c.PerDay);
        EXPECT_EQ(companion.tasks.size(), c.Tasks);
        EXPECT_EQ(QFile::exists(sys.Scratch("config") + "/autostart/merivane.desktop"), c.Method != 0);
    }
}

TEST_F(CtlScheduleTest, WithoutAnySchedulerTheUserIsToldNoTaskWasMade) {
    companion.available = false;
    EXPECT_EQ(Ctl({"schedule", "3"}), 0);
    EXPECT_TRUE(sys.console.err.contains("no scheduled task was made")) << sys.console.err.toStdString();
    EXPECT_EQ(Stored().TypeOfScheduling, 3);  // what the user chose stays chosen
}

TEST_F(CtlScheduleTest, StatusSaysWhatRunsAndWhatStartsMerivane) {
    sys.clock.now = *SerialFromYmd(2026, 12, 24) + 10.0 / 24;
    ASSERT_EQ(Ctl({"status"}), 0);
    EXPECT_EQ(sys.console.out,
              "Scheduling method: 0 (None.  I'll make my own changes.)\n"
              "Resident Merivane: not running\n"
              "Next change due: none; changes are made by hand\n"
              "Run value: none\n"
              "Autostart entry: none\n"
              "Scheduled task: none\n");
    ASSERT_EQ(Ctl({"schedule", "3", "--time", "6:30 PM", "--per-day", "2"}), 0);
    sys.console.out.clear();
    ASSERT_EQ(Ctl({"status"}), 0);
    const QStringList lines = sys.console.out.split('\n');
    EXPECT_EQ(lines.value(0),
              "Scheduling method: 3 (Use the Windows Task Scheduler.    (Highly recommended)), "
              "here a systemd user timer or cron");
    EXPECT_EQ(lines.value(1), "Change time: 06:30 PM, 2 change(s) a day");
    EXPECT_EQ(lines.value(3), "Next change due: 2026-12-24 6:30:00 PM");
    EXPECT_TRUE(lines.value(4).startsWith("Run value: ") && lines.value(4).endsWith("merivane.exe  /check"));
    EXPECT_EQ(lines.value(5), "Autostart entry: " + sys.Scratch("config") + "/autostart/merivane.desktop");
    EXPECT_EQ(lines.value(6), "Scheduled task: Merivane");
    EXPECT_EQ(Ctl({"status", "extra"}), 2);
}

}  // namespace
}  // namespace merivane
