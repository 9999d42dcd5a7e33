#include "platform/Processes.h"

#include "support/QtPrinters.h"

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

}  // namespace
}  // namespace merivane
