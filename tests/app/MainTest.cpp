#include "app/Main.h"

#include "calendar/EventTable.h"
#include "platform/Paths.h"
#include "settings/RegOp.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(Switch, FirstTwoCharactersLowerCasedWithMinusAsSlash) {
    const std::pair<const char*, const char*> cases[] = {
        {"/n", "/n"},
        {"-N", "/n"},
        {"   /c   ", "/c"},
        {"/install", "/i"},
        {"-apply x.theme", "/a"},
        {"/A \"My Theme\"", "/a"},
        {"", "  "},
        {"x", "x "},
        {"/?", "/?"},
        {"--n", "/n"},  // a leading "--" is one "-"
        {"--HELP", "/h"},
        {"---n", "/-"},
        {"n/", "n/"},
        {"\t/H", "/h"},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(BuildSwitch(line), expected);
    }
}

TEST(Switch, ArgumentsJoinWithQuotesAroundBlanks) {
    EXPECT_EQ(JoinCommandLine({"/a", "My Theme.theme"}), "/a \"My Theme.theme\"");
    EXPECT_EQ(JoinCommandLine({"/n"}), "/n");
    EXPECT_EQ(JoinCommandLine({"/a", ""}), "/a \"\"");
    EXPECT_EQ(JoinCommandLine({}), "");
}

TEST(StartupGlobals, WindowsVersionCodes) {
    const std::pair<OsVersionRecord, int> cases[] = {
        {{4, 0, 1}, 0}, {{4, 0, 2}, 1}, {{4, 10, 1}, 2}, {{4, 89, 1}, 2}, {{4, 90, 1}, 3}, {{3, 51, 2}, 2},
        {{5, 0, 2}, 4}, {{5, 1, 2}, 5}, {{5, 2, 2}, 5},  {{6, 0, 2}, 5},  {{10, 0, 2}, 5},
    };
    for (const auto& [record, code] : cases) {
        SCOPED_TRACE(testing::Message()
                     << record.Major << "." << record.Minor << " id " << record.PlatformId);
        EXPECT_EQ(WindowsVersionCode(record), code);
    }
}

TEST(ApplySwitch, FileNameOfTheCommandLine) {
    const QString themes = "/home/u/Themes/";
    struct Case {
        const char* Line;
        std::optional<QString> Expected;
    };
    const Case cases[] = {
        {"/a", std::nullopt},
        {"/a   ", std::nullopt},
        {"/a Xmas", "/home/u/Themes/Xmas.theme"},
        {"/apply Xmas.THEME", "/home/u/Themes/Xmas.THEME"},
        {"/a \"Snow Day\"", "/home/u/Themes/Snow Day.theme"},
        {R"(/a "C:\Themes\Snow Day.theme")", R"(C:\Themes\Snow Day.theme)"},
        {"/s /srv/themes/Easter", "/srv/themes/Easter.theme"},
        {R"(/a \\server\share\x.theme)", R"(/home/u/Themes/\\server\share\x.theme)"},
        {"/a my.themes.old", "/home/u/Themes/my.themes.old"},  // ".theme" anywhere counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        EXPECT_EQ(ApplyFileName(c.Line, themes), c.Expected);
    }
}

TEST(Usage, TextIsExact) {
    const QString expected =
        "merivane uses the date and time to make daily theme or\r\n"
        "wallpaper changes suitable for the current date.\r\n\r\n"
        "Command line usage:   merivane [/i | /u | /n | /c | /a ]\r\n\r\n"
        "  /i[nstall]                   = Sets up registry variables, shows setup window\r\n"
        "  /u(install]                 = Removes registry variables\r\n"
        "  /n[ow]                     = Makes a theme/wallpaper change immediately\r\n"
        "  /c[heck]                  = Checks date to see if a theme change is needed.\r\n"
        "  /a[pply] <filename> = Applies the named theme filename to the desktop.\r\n\r\n"
        "Using no parameters shows a dialog box to make setup changes.";
    EXPECT_EQ(UsageText("merivane"), expected);
}

class MainTest : public ::testing::Test {
  protected:
    int Run(const QStringList& args) {
        Program program(sys.Get());
        int rc = Main(program, args);
        lastThemePath = program.Setup.ThemePath;
        return rc;
    }
    bool AlreadyRunningShown() const {
        for (const auto& m : sys.dialogs.messages) {
            if (m.Title == "Merivane Error") {
                return true;
            }
        }
        return false;
    }

    test::TestPlatform sys;
    QString lastThemePath;
};

TEST_F(MainTest, OnlyTheOneShotSwitchesRunBesideAnotherInstance) {
    sys.instances.anotherRunning = true;
    struct Case {
        QStringList Args;
        bool Refused;
        int Code = kExitOk;
    };
    const Case cases[] = {
        {{"/?"}, false},   {{"/u"}, false}, {{"/s"}, false, kExitFailed},  // no file to apply
        {{"/n"}, false},   {{"-N"}, false}, {{"/p"}, false},
        {{"/i"}, false},   {{"/c"}, false}, {{"/a"}, false, kExitFailed},
        {{"/h"}, true},    {{}, true},      {{"/x"}, true},
        {{"setup"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        sys.dialogs.messages.clear();
        sys.console.out.clear();
        EXPECT_EQ(Run(c.Args), c.Refused ? kExitAlreadyRunning : c.Code);
        EXPECT_EQ(AlreadyRunningShown(), c.Refused);
    }
    sys.dialogs.messages.clear();
    Run({"/h"});
    ASSERT_EQ(sys.dialogs.messages.size(), 1u);
    EXPECT_EQ(sys.dialogs.messages[0].Text,
              "Merivane is already running.\r\nCheck for an icon in the system tray.");
    EXPECT_EQ(sys.dialogs.messages[0].Icon, MessageIcon::Information);
}

TEST_F(MainTest, ARefusedSecondInstanceTouchesNothing) {
    sys.instances.anotherRunning = true;
    Run({});
    EXPECT_EQ(sys.random.seeds, 0);
    EXPECT_FALSE(sys.store->KeyExists(RegRoot::CurrentUser, kAppKey));
}

TEST_F(MainTest, UsageGoesToStandardOutputWithoutADisplay) {
    EXPECT_EQ(Run({"/?"}), kExitOk);
    EXPECT_EQ(sys.console.out, UsageText("merivane").replace("\r\n", "\n") + "\n");
    sys.console.out.clear();
    Run({"-h"});
    EXPECT_FALSE(sys.console.out.isEmpty());

    sys.console.out.clear();
    sys.dialogs.canShowWindows = true;
    Run({"/?"});
    EXPECT_TRUE(sys.console.out.isEmpty());
    ASSERT_EQ(sys.dialogs.messages.size(), 1u);
    EXPECT_EQ(sys.dialogs.messages[0].Title, "Merivane");
    EXPECT_EQ(sys.dialogs.messages[0].Text, UsageText("merivane"));
}

TEST_F(MainTest, StartUpSeedsAndLoadsTheSettings) {
    Run({"/n"});
    EXPECT_EQ(sys.random.seeds, 1);
    EXPECT_EQ(lastThemePath, sys.Home().WindowsDir + "Resources/Themes/");
    EXPECT_TRUE(sys.store->KeyExists(RegRoot::CurrentUser, QString(kAppKey) + R"(\Setup)"));
}

TEST_F(MainTest, StartupGlobalsComeFromTheHomeAndTheAssociations) {
    sys.version.record = {5, 0, 2};
    sys.WriteFile(sys.Home().WindowsDir + "NOTEPAD.EXE");
    Program program(sys.Get());
    SetStartupGlobals(program);
    EXPECT_EQ(program.WindowsVersion, 4);
    EXPECT_EQ(program.AppPath, sys.Home().Home);
    EXPECT_EQ(program.WindowsDir, sys.Home().WindowsDir);
    EXPECT_EQ(program.SystemDir, sys.Home().SystemDir);
    EXPECT_EQ(program.ThemeFileType, "(none)");
    EXPECT_EQ(program.ThemeOpenCommand, "(none)");
    EXPECT_EQ(program.TextViewerCommand, sys.Home().WindowsDir + "notepad.exe");
}

TEST_F(MainTest, InstallSavesTheSettingsAndMakesTheEventTableReadOnly) {
    QString table = sys.WriteFile(sys.Home().Home + kEventTableFileName, "[Events]\r\n");
    EXPECT_EQ(Run({"/install"}), kExitOk);
    EXPECT_FALSE(QFileInfo(table).isWritable() && getuid() != 0);
    EXPECT_FALSE(QFileInfo(table).permissions() & QFileDevice::WriteOwner);
    EXPECT_TRUE(sys.store->KeyExists(RegRoot::CurrentUser, QString(kAppKey) + R"(\Setup)"));
    EXPECT_TRUE(sys.store->KeyExists(RegRoot::LocalMachine, kAppKey));
}

TEST_F(MainTest, UninstallRemovesTheUserSettingsAndTheEventTable) {
    QString table = sys.WriteFile(sys.Home().Home + kEventTableFileName, "[Events]\r\n");
    Run({"/i"});
    Run({"-u"});
    EXPECT_FALSE(sys.store->KeyExists(RegRoot::CurrentUser, kAppKey));
    EXPECT_TRUE(sys.store->QueryValue(RegRoot::LocalMachine, kAppKey, "InstallDate").has_value());
    EXPECT_FALSE(QFileInfo::exists(table));
    ASSERT_EQ(sys.processes.started.size(), 1u);
    EXPECT_EQ(sys.processes.started[0].CommandLine, sys.Home().SystemDir + "RegSvr32.exe /s /u Merivane.DLL");
    EXPECT_EQ(sys.processes.started[0].Style, WindowStyle::Hidden);
    EXPECT_TRUE(sys.events.calls.contains("events"));
    // Without a table to delete, uninstall still ends well.
    EXPECT_EQ(Run({"/u"}), kExitOk);
}

TEST_F(MainTest, AfterUninstallANewFirstRunKeepsTheMachineStatistics) {
    Run({"/i"});
    SerialDate installed = sys.clock.now;
    RegOp machine(sys.Get());
    machine.SetRoot(RegRoot::LocalMachine);
    machine.SetKey(kAppKey);
    machine.SetValue("TotalThemeChanges", Variant::Long(41));
    RegOp setup(sys.Get());
    setup.SetKey(QString(kAppKey) + R"(\Setup)");
    setup.SetValue("ExpertMode", Variant::Boolean(true));

    Run({"/u"});
    sys.clock.now += 30;
    Program program(sys.Get());
    Main(program, {"/n"});
    EXPECT_EQ(program.InstallDate, installed);
    EXPECT_EQ(program.TotalThemeChanges, 41);
    EXPECT_FALSE(program.Setup.ExpertMode);
    EXPECT_EQ(program.LastChange.FileName, "(none)");
}

TEST_F(MainTest, StartUpLoadsTheEventTable) {
    sys.WriteFile(sys.Home().Home + kEventTableFileName, "Christmas\tx\t12\t25\t14\txmas\r\n");
    Program program(sys.Get());
    Main(program, {"/n"});
    ASSERT_EQ(program.Events.size(), 1u);
    EXPECT_EQ(program.KeywordList.size(), 2u);
}

// A collection named after events, with the shipped event table: "/n" on a day of the year
// records what a person would expect, and why.
class ChangeNowTest : public ::testing::Test {
  protected:
    ChangeNowTest() {
        sys.Home().InstallShippedData(QStringLiteral(MERIVANE_SOURCE_DATA_DIR));
        QString themes = sys.Home().WindowsDir + "Resources/Themes/";
        for (const char* f : {"Spring Garden.theme", "Easter Bunny.theme", "Valentine Hearts.theme"}) {
            sys.WriteFile(themes + f, "[Theme]\r\n");
        }
        for (const char* f : {"Christmas Snow.jpg", "Halloween Night.bmp", "Summer Beach.jpg",
                              "Hanukkah Lights.jpg", "Mountain Lake.jpg", "Tu BiShvat Almond Blossom.jpg"}) {
            sys.WriteFile(sys.Scratch("Pictures/") + f, "picture");
        }
    }
    // "/i", then the pictures folder joins the themes.
    void Install() {
        Program first(sys.Get());
        Main(first, {"/i"});
        RegOp setup(sys.Get());
        setup.SetKey(QString(kAppKey) + R"(\Setup)");
        setup.SetValue("FilesToUse", Variant::Integer(2));
        setup.SetValue("WallpaperPath", Variant::Text(sys.Scratch("Pictures/")));
    }
    // Runs "/n" at the given local time in a fresh program; gives the recorded file's name and reason.
    std::pair<QString, QString> ChangeNow(int y, unsigned m, unsigned d) {
        sys.clock.now = *SerialFromYmd(y, m, d) + 10.0 / 24;
        Install();
        Program program(sys.Get());
        Main(program, {"/n"});
        RegOp stats(sys.Get());
        stats.SetKey(QString(kAppKey) + R"(\Stats)");
        return {FileNameOf(stats.Value("LastFilenameUsed").ToText()),
                stats.Value("LastChangeReason").ToText()};
    }

    test::TestPlatform sys;
};

TEST_F(ChangeNowTest, TheFileOfTheDayIsChosenAndRecorded) {
    struct Case {
        int Y;
        unsigned M, D;
        const char* File;
        const char* Reason;
    };
    const Case cases[] = {
        {2026, 12, 24, "Christmas Snow.jpg", "Regular event"},  // 14 days beat the any-day lake
        {2026, 10, 31, "Halloween Night.bmp", "First/Last Day"},
        {2026, 4, 5, "Easter Bunny.theme", "Regular event"},  // 9 days beat the 90 of spring
        {2026, 2, 14, "Valentine Hearts.theme", "First/Last Day"},
        {2026, 12, 8, "Hanukkah Lights.jpg", "Regular event"},
        {2026, 2, 2, "Tu BiShvat Almond Blossom.jpg", "First/Last Day"},
        {2026, 8, 20, "Summer Beach.jpg", "Regular event - Next"},  // with the lake: the first in turn
        {2026, 5, 10, "Spring Garden.theme", "Regular event - Next"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Y << "-" << c.M << "-" << c.D);
        auto [file, reason] = ChangeNow(c.Y, c.M, c.D);
        EXPECT_EQ(file, c.File);
        EXPECT_EQ(reason, c.Reason);
        RegOp uninstall(sys.Get());
        uninstall.SetKey(kAppKey);
        uninstall.DeleteKey();
    }
}

TEST_F(ChangeNowTest, EachChangeSaysWhatItDidInOneLine) {
    QImage snow(64, 48, QImage::Format_RGB32);
    snow.fill(Qt::white);
    snow.save(sys.Scratch("Pictures/Christmas Snow.jpg"), "JPG");
    struct Case {
        unsigned M, D;
        int Code;
        const char* Out;
        QString Err;
    };
    const Case cases[] = {
        {12, 24, kExitOk, "Changed to Christmas Snow.jpg (Regular event)\n", ""},
        // Text named like a picture: recorded, reported, and the desktop left as it was.
        {10, 31, kExitFailed, "",
         "Could not change to Halloween Night.bmp: " + sys.Scratch("Pictures/Halloween Night.bmp") +
             " cannot be read as a picture; the desktop keeps its picture."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.M << "/" << c.D);
        sys.console.out.clear();
        sys.console.err.clear();
        sys.system.calls.clear();
        sys.clock.now = *SerialFromYmd(2026, c.M, c.D) + 10.0 / 24;
        Install();
        Program program(sys.Get());
        EXPECT_EQ(Main(program, {"/n"}), c.Code);
        EXPECT_EQ(sys.console.out, c.Out);
        EXPECT_TRUE(sys.console.err.contains(c.Err)) << sys.console.err.toStdString();
        EXPECT_EQ(sys.system.calls.filter("info 20 ").isEmpty(), c.Code != kExitOk);
    }

    // Nothing in season, and nothing at all to choose from: said on standard output.
    Install();
    RegOp setup(sys.Get());
    setup.SetKey(QString(kAppKey) + R"(\Setup)");
    setup.SetValue("FilesToUse", Variant::Integer(1));
    for (const char* f : {"Mountain Lake.jpg", "Summer Beach.jpg", "Tu BiShvat Almond Blossom.jpg"}) {
        QFile::remove(sys.Scratch("Pictures/") + f);
    }
    sys.clock.now = *SerialFromYmd(2026, 7, 1) + 10.0 / 24;
    sys.console.out.clear();
    Program summer(sys.Get());
    EXPECT_EQ(Main(summer, {"/n"}), kExitOk);
    EXPECT_EQ(sys.console.out, "Nothing changed: no file is in season now.\n");

    const QString empty = sys.Scratch("Empty/");
    QDir().mkpath(empty);
    setup.SetValue("WallpaperPath", Variant::Text(empty));
    sys.console.out.clear();
    Program none(sys.Get());
    EXPECT_EQ(Main(none, {"/n"}), kExitOk);
    EXPECT_EQ(sys.console.out, "Nothing changed: no pictures in " + empty + ".\n");
}

TEST_F(ChangeNowTest, CheckChangesOnlyWhenAChangeIsDue) {
    auto changes = [&] {
        RegOp machine(sys.Get());
        machine.SetRoot(RegRoot::LocalMachine);
        machine.SetKey(kAppKey);
        return machine.Value("TotalThemeChanges").ToLong().value_or(0);
    };
    sys.clock.now = *SerialFromYmd(2026, 12, 24) + 10.0 / 24;
    Install();
    Program first(sys.Get());
    Main(first, {"/c"});
    EXPECT_EQ(changes(), 0);  // never changed: the first change is due tomorrow
    Program now(sys.Get());
    Main(now, {"/n"});
    EXPECT_EQ(changes(), 1);
    sys.clock.now += 0.2;
    Program later(sys.Get());
    Main(later, {"/c"});
    EXPECT_EQ(changes(), 1);  // changed today already
    sys.clock.now += 1;
    Program tomorrow(sys.Get());
    Main(tomorrow, {"-check"});
    EXPECT_EQ(changes(), 2);
}

TEST(ShippedData, CopiedIntoTheHomeOnlyWhenMissing) {
    test::TestPlatform sys;
    QString data = sys.Scratch("share");
    sys.WriteFile(data + "/Merivane.hol", "Shipped\r\n");
    sys.WriteFile(data + "/Other.txt", "x");
    sys.WriteFile(sys.Home().Home + "Other.txt", "mine");
    sys.Home().InstallShippedData(data);
    QFile table(sys.Home().Home + "Merivane.hol");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.readAll(), "Shipped\r\n");
    EXPECT_FALSE(table.permissions() & QFileDevice::WriteOwner);
    QFile mine(sys.Home().Home + "Other.txt");
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "mine");
}

TEST_F(MainTest, ApplyWithoutAFileOrWithAMissingOneSaysWhyAndFails) {
    EXPECT_EQ(Run({"/a"}), kExitFailed);
    EXPECT_TRUE(sys.console.err.contains("/a needs the name of a theme file"));
    sys.console.err.clear();
    EXPECT_EQ(Run({"/a", "Nothing Here"}), kExitFailed);
    EXPECT_TRUE(sys.console.err.contains("no theme file")) << sys.console.err.toStdString();
    EXPECT_TRUE(sys.console.err.contains("Nothing Here.theme"));
    sys.console.err.clear();
    EXPECT_EQ(Run({"/a", QString(1 << 20, u'f')}), kExitFailed);
    EXPECT_LT(sys.console.err.size(), 400);  // a megabyte of name is not echoed whole
    EXPECT_TRUE(sys.dialogs.messages.empty());
    EXPECT_TRUE(sys.console.out.isEmpty());
}

TEST_F(MainTest, ApplyTakesANameFromTheCurrentFolderWhenTheThemeFolderHasNone) {
    const QString here = sys.Scratch("here");
    sys.WriteFile(here + "/Mine.theme", "[Control Panel\\Colors]\r\nMenu=1 2 3\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(here));
    const int rc = Run({"/a", "Mine"});
    QDir::setCurrent(before);
    EXPECT_EQ(rc, kExitOk) << sys.console.err.toStdString();
    EXPECT_EQ(sys.console.out, "Changed to Mine.theme (DOS Command selection)\n");
    RegOp stats(sys.Get());
    stats.SetKey(QString(kAppKey) + R"(\Stats)");
    EXPECT_EQ(stats.Value("LastFilenameUsed").ToText(), QDir(here).absoluteFilePath("Mine.theme"));
}

TEST_F(MainTest, TheSetupHandlerWithoutADisplayExplainsAndFails) {
    for (const QStringList& args : {QStringList{}, QStringList{"/x"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        sys.console.err.clear();
        EXPECT_EQ(Run(args), kExitUsage);
        EXPECT_TRUE(sys.console.err.startsWith("merivane uses the date and time"))
            << sys.console.err.toStdString();
        EXPECT_EQ(sys.console.err.count("needs a display"), 1);
    }
    sys.env.Set("DISPLAY", ":0");
    sys.console.err.clear();
    EXPECT_EQ(Run({}), kExitOk);
    EXPECT_TRUE(sys.console.err.isEmpty());
}

}  // namespace
}  // namespace merivane
