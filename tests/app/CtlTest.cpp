#include "app/Ctl.h"

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

}  // namespace
}  // namespace merivane
