#include "platform/Processes.h"

#include "platform/Home.h"
#include "platform/linux/LinuxAdapters.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace merivane {
namespace {

struct SplitCase {
    const char* Name;
    QString Line;
    QStringList Expected;
};

TEST(WindowsCommandLine, SplitsLikeTheWindowsRuntime) {
    const SplitCase cases[] = {
        {"empty", "", {}},
        {"blanks only", "   \t ", {}},
        {"program alone", "app.exe", {"app.exe"}},
        {"quoted program with blanks",
         R"("C:\Program Files\X\da.exe" -a "C:\t\my theme.theme")",
         {R"(C:\Program Files\X\da.exe)", "-a", R"(C:\t\my theme.theme)"}},
        {"backslashes in the program name are literal", R"("C:\dir\\" x)", {R"(C:\dir\\)", "x"}},
        {"runs of blanks and tabs separate", "a  b\t\tc", {"a", "b", "c"}},
        {"even backslashes before a quote halve and the quote groups", R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {"odd backslashes before a quote give a literal quote", R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {"backslashes not before a quote stay", R"(p C:\dir\file)", {"p", R"(C:\dir\file)"}},
        {"doubled quote inside quotes is one quote", R"(p "a""b")", {"p", R"(a"b)"}},
        {"empty quoted argument", R"(p "" x)", {"p", "", "x"}},
        {"unclosed quote runs to the end", R"(p "a b)", {"p", "a b"}},
        {"regsvr32 line",
         R"(C:\WINDOWS\SYSTEM\RegSvr32.exe /s /u Merivane.DLL)",
         {R"(C:\WINDOWS\SYSTEM\RegSvr32.exe)", "/s", "/u", "Merivane.DLL"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(SplitWindowsCommandLine(c.Line), c.Expected);
    }
}

// A file or folder name handed to a program comes back from the splitting whole: a folder's
// trailing backslash must not turn the closing quote into part of the name, and a quote in
// a Linux file name must not cut it into two arguments.
TEST(WindowsCommandLine, AQuotedArgumentSplitsBackWhole) {
    const QString arguments[] = {
        R"(C:\Pictures\)", R"(C:\Pictures\)", R"(say "hi" --all)", "",
        R"(a\b"c)",        "tab\there",       "my theme.theme",
    };
    for (const QString& argument : arguments) {
        SCOPED_TRACE(argument.toStdString());
        EXPECT_EQ(SplitWindowsCommandLine("Explorer " + QuoteWindowsArgument(argument)),
                  (QStringList{"Explorer", argument}));
    }
}

// A theme manager registered without quotes under a folder with blanks starts, with its
// arguments as Windows would pass them; a quoted one too.
TEST(HostProcessStart, AnUnquotedProgramPathWithBlanksStarts) {
    QTemporaryDir dir;
    const QString tools = dir.path() + "/My Tools";
    QDir().mkpath(tools);
    const QString program = tools + "/thm";
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s|' \"$a\"; done > \"$(dirname \"$0\")/args\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    HostProcesses processes(HomeLayout::At(dir.path() + "/home"));
    const struct {
        QString Line;
        QByteArray Args;
    } cases[] = {
        {program + " -a \"" + dir.path() + "/my theme.theme\"",
         "-a|" + dir.path().toUtf8() + "/my theme.theme|"},
        {"\"" + program + "\" /s x", "/s|x|"},
        {program, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line.toStdString());
        QFile::remove(tools + "/args");
        const qint64 handle = processes.Start(c.Line);
        ASSERT_NE(handle, 0);
        EXPECT_TRUE(processes.WaitFor(handle, 5000));
        QFile args(tools + "/args");
        ASSERT_TRUE(args.open(QIODevice::ReadOnly));
        EXPECT_EQ(args.readAll(), c.Args);
    }
    EXPECT_EQ(processes.Start(dir.path() + "/My Nothing/thm x"), 0);
}

}  // namespace
}  // namespace merivane
