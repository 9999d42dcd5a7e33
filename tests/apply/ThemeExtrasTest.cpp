#include "apply/ThemeInstaller.h"

#include "settings/RegOp.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// The icons, sounds, logos, folder pictures and toolbar of a theme, and the refresh after.
class ThemeExtrasTest : public ::testing::Test {
  protected:
    ThemeExtrasTest() {
        sys.PlaceIn(state);
        state.Setup.UseThemeMgrSettings.fill(true);
    }
    QString Themes() const { return sys.Scratch("themes/"); }
    // A theme file in the themes folder; gives its name within the folder.
    QString Theme(const QByteArray& text) {
        sys.WriteFile(Themes() + "Winter.theme", text);
        return "Winter.theme";
    }
    Variant Reg(RegRoot root, const QString& key, const QString& name) {
        RegOp reg(sys.Get());
        reg.SetRoot(root);
        reg.SetKey(key);
        return reg.Value(name);
    }
    void SetReg(RegRoot root, const QString& key, const QString& name, const QString& value) {
        RegOp reg(sys.Get());
        reg.SetRoot(root);
        reg.SetKey(key);
        reg.SetValue(name, Variant::Text(value));
    }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    static bool Hidden(const QString& path) {
        return QFileInfo::exists(path) && !(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
    }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

const QByteArray kIcons =
    "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]\r\nDefaultValue=%ThemeDir%pc.ico\r\n"
    "[CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon]\r\nDefaultValue=%WinDir%net.ico\r\n"
    "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]\r\nempty=bin-empty.ico\r\nfull=bin-full."
    "ico\r\n";

TEST_F(ThemeExtrasTest, DesktopIconsGoWhereEachWindowsVersionKeepsThem) {
    struct Case {
        int Version;
        RegRoot Root;
        const char* Prefix;
    };
    const Case cases[] = {
        {0, RegRoot::ClassesRoot, ""},
        {1, RegRoot::CurrentUser, "Software\\Classes\\"},
        {2, RegRoot::CurrentUser, "Software\\Classes\\"},
        {3, RegRoot::CurrentUser, "Software\\Classes\\"},
        {4, RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"},
        {5, RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"},
    };
    const QString name = Theme(kIcons);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Version);
        state.WindowsVersion = c.Version;
        ApplyDesktopIcons(state, Themes(), name);
        const QString prefix = QString::fromLatin1(c.Prefix);
        EXPECT_EQ(
            Reg(c.Root, prefix + "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", "").ToText(),
            Themes() + "pc.ico");
        EXPECT_EQ(
            Reg(c.Root, prefix + "CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon", "").ToText(),
            sys.Home().WindowsDir + "net.ico");
        // A theme that names no icon writes it empty: the shell shows its own.
        EXPECT_TRUE(Reg(c.Root, prefix + "CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\DefaultIcon", "")
                        .ToText()
                        .isEmpty());
        const QString bin = prefix + "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
        EXPECT_EQ(Reg(c.Root, bin, "empty").ToText(), "bin-empty.ico");
        EXPECT_EQ(Reg(c.Root, bin, "full").ToText(), "bin-full.ico");
        EXPECT_EQ(Reg(c.Root, bin, "").ToText(), "bin-empty.ico");  // nothing set: counts as empty
    }
}

TEST_F(ThemeExtrasTest, AFullRecycleBinStaysFullWithTheNewThemesPicture) {
    const QString bin =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\"
        "{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
    SetReg(RegRoot::CurrentUser, bin, "empty", "old-empty.ico");
    SetReg(RegRoot::CurrentUser, bin, "full", "old-full.ico");
    SetReg(RegRoot::CurrentUser, bin, "", "old-full.ico");
    ApplyDesktopIcons(state, Themes(), Theme(kIcons));
    EXPECT_EQ(Reg(RegRoot::CurrentUser, bin, "").ToText(), "bin-full.ico");
    SetReg(RegRoot::CurrentUser, bin, "", "bin-empty.ico");  // emptied since
    ApplyDesktopIcons(state, Themes(), Theme(kIcons));
    EXPECT_EQ(Reg(RegRoot::CurrentUser, bin, "").ToText(), "bin-empty.ico");
}

TEST_F(ThemeExtrasTest, SoundsThatNameNoFileAreCleared) {
    sys.WriteFile(Themes() + "start.wav", "RIFF");
    const QString name = Theme(
        "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]\r\nDefaultValue=%ThemeDir%start.wav\r\n"
        "[AppEvents\\Schemes\\Apps\\.Default\\.Default\\.Current]\r\nDefaultValue=%ThemeDir%gone.wav\r\n"
        "[AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\.Current]\r\nDefaultValue=  %ThemeDir%start.wav  "
        "\r\n");
    SetReg(RegRoot::CurrentUser, "AppEvents\\Schemes\\Apps\\.Default\\.Default\\.Current", "", "ding.wav");
    ApplySounds(state, Themes(), name);
    const QString apps = "AppEvents\\Schemes\\Apps\\";
    EXPECT_EQ(Reg(RegRoot::CurrentUser, apps + ".Default\\SystemStart\\.Current", "").ToText(),
              Themes() + "start.wav");
    EXPECT_EQ(Reg(RegRoot::CurrentUser, apps + "Explorer\\Navigating\\.Current", "").ToText(),
              Themes() + "start.wav");
    EXPECT_EQ(Reg(RegRoot::CurrentUser, apps + ".Default\\.Default\\.Current", "").ToText(), "");
    EXPECT_EQ(Reg(RegRoot::CurrentUser, apps + ".Default\\MailBeep\\.Current", "").ToText(), "");
}

TEST_F(ThemeExtrasTest, LogosOnlyWhereTheSystemKeepsThemAndTheBackupIsMadeOnce) {
    sys.WriteFile(Themes() + "boot.bmp", "theme start-up logo");
    sys.WriteFile(Themes() + "wait.bmp", "theme wait logo");
    const QString withLogos =
        Theme("[Logos]\r\nStartup=%ThemeDir%boot.bmp\r\nShutdownW=%ThemeDir%wait.bmp\r\nShutdown=\r\n");
    const QString logo = sys.Home().DriveC + "logo.sys";
    const QString logow = sys.Home().WindowsDir + "logow.sys";
    const QString logos = sys.Home().WindowsDir + "logos.sys";
    for (int version : {0, 1, 2, 3, 4, 5}) {
        SCOPED_TRACE(version);
        for (const QString& f : {logo, logow, logos}) {
            QFile::setPermissions(f, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QFile::setPermissions(f + ".bak", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QFile::remove(f);
            QFile::remove(f + ".bak");
            sys.WriteFile(f, "system's own");
        }
        state.WindowsVersion = version;
        ApplyLogos(state, Themes(), withLogos);
        const bool applies = version == 0 || version == 2 || version == 3;
        EXPECT_EQ(Contents(logo), applies ? "theme start-up logo" : "system's own");
        EXPECT_EQ(Contents(logow), applies ? "theme wait logo" : "system's own");  // the second key
        EXPECT_EQ(Contents(logos), "system's own");  // none given: the backup comes back
        EXPECT_EQ(QFileInfo::exists(logo + ".bak"), applies);
        if (!applies) {
            continue;
        }
        EXPECT_EQ(Contents(logo + ".bak"), "system's own");
        EXPECT_TRUE(Hidden(logo) && Hidden(logo + ".bak"));
        // Another theme keeps the first backup; one without logos brings the system's back.
        sys.WriteFile(Themes() + "other.bmp", "another logo");
        Theme("[Logos]\r\nStartup=%ThemeDir%other.bmp\r\n");
        ApplyLogos(state, Themes(), "Winter.theme");
        EXPECT_EQ(Contents(logo), "another logo");
        EXPECT_EQ(Contents(logo + ".bak"), "system's own");
        Theme("[Colors]\r\n");
        ApplyLogos(state, Themes(), "Winter.theme");
        EXPECT_EQ(Contents(logo), "system's own");
        Theme("[Logos]\r\nStartup=%ThemeDir%boot.bmp\r\nShutdownW=%ThemeDir%wait.bmp\r\nShutdown=\r\n");
    }
}

TEST_F(ThemeExtrasTest, AFolderPictureIsInstalledUnderItsOwnExtension) {
    const QString web = sys.Home().WindowsDir + "web/";
    sys.WriteFile(web + "wvleft.bmp", "system's left panel");
    sys.WriteFile(Themes() + "left.jpg", "theme's left panel");
    const QString name = Theme("[Webview]\r\nwvleft.bmp=%ThemeDir%left.jpg\r\n");
    state.WindowsVersion = 1;  // NT 4: no folder pictures
    ApplyWebview(state, Themes(), name);
    EXPECT_EQ(Contents(web + "wvleft.bmp"), "system's left panel");
    EXPECT_FALSE(QFileInfo::exists(web + "wvleft.bmp.bak"));

    state.WindowsVersion = 5;
    ApplyWebview(state, Themes(), name);
    EXPECT_EQ(Contents(web + "wvleft.jpg"), "theme's left panel");
    EXPECT_FALSE(QFileInfo::exists(web + "wvleft.bmp"));  // the old one of any extension goes
    EXPECT_EQ(Contents(web + "wvleft.bmp.bak"), "system's left panel");
    EXPECT_TRUE(Hidden(web + "wvleft.jpg") && Hidden(web + "wvleft.bmp.bak"));

    // A theme without folder pictures restores the system's, under the first key's name.
    ApplyWebview(state, Themes(), Theme("[Colors]\r\n"));
    EXPECT_FALSE(QFileInfo::exists(web + "wvleft.jpg"));
    EXPECT_EQ(Contents(web + "wvleft.bmp"), "system's left panel");
    EXPECT_EQ(Contents(web + "wvleft.bmp.bak"), "system's left panel");
}

TEST_F(ThemeExtrasTest, TheToolbarPictureIsSetAndRemovedAgain) {
    const QString toolbar = "Software\\Microsoft\\Internet Explorer\\Toolbar";
    sys.WriteFile(Themes() + "bar.bmp", "BM");
    ApplyToolbarBitmap(state, Themes(), Theme("[Webview]\r\nHotbar=%ThemeDir%bar.bmp\r\n"));
    EXPECT_EQ(Reg(RegRoot::CurrentUser, toolbar, "BackBitmap").ToText(), Themes() + "bar.bmp");
    ApplyToolbarBitmap(state, Themes(), Theme("[Webview]\r\nHotbar=%ThemeDir%missing.bmp\r\n"));
    EXPECT_TRUE(Reg(RegRoot::CurrentUser, toolbar, "BackBitmap").IsEmpty());
}

// Whatever a theme's values say, the files written are the program's own names in the home.
TEST_F(ThemeExtrasTest, HostileThemeValuesChangeNothingOutsideTheHome) {
    const QString outside = sys.Scratch("outside/");
    sys.WriteFile(outside + "secret.txt", "keep me");
    QStringList hostile;
    for (const QString& value : {QString("..\\..\\..\\outside\\secret.txt"), outside + "secret.txt",
                                 QString("C:\\..\\..\\outside\\secret.txt"), QString("D:\\secret.txt"),
                                 QString("%ThemeDir%..\\..\\outside\\secret.txt"), QString(300, u'.')}) {
        hostile << value;
    }
    QByteArray theme;
    int i = 0;
    for (const QString& value : hostile) {
        const QByteArray v = value.toUtf8();
        theme += "[Logos]\r\nStartup=" + v + "\r\nWait=" + v + "\r\nShutdown=" + v + "\r\n";
        theme += "[Webview]\r\nwvleft.bmp=" + v + "\r\nwvline.gif=" + v + "\r\nwvlogo.gif=" + v +
                 "\r\nHotbar=" + v + "\r\n";
        theme += "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]\r\nDefaultValue=" + v + "\r\n";
        const QString name = QStringLiteral("Hostile%1.theme").arg(i++);
        sys.WriteFile(Themes() + name, theme);
        for (int version : {0, 2, 5}) {
            state.WindowsVersion = version;
            ApplyThemeFile(state, Themes() + name);
        }
        theme.clear();
    }
    QStringList files;
    for (QDirIterator it(sys.Scratch(""), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        if (!path.startsWith(sys.Home().Home)) {
            files << path.mid(sys.Scratch("").size());
        }
    }
    files.sort();
    QStringList expected{"outside/secret.txt"};
    for (int n = 0; n < i; ++n) {
        expected << QStringLiteral("themes/Hostile%1.theme").arg(n);
    }
    EXPECT_EQ(files, expected);
    EXPECT_EQ(Contents(outside + "secret.txt"), "keep me");
}

TEST_F(ThemeExtrasTest, TheRefreshReloadsIconsRedrawsTheTaskbarAndTheDesktop) {
    sys.shell.windows = {{"Shell_TrayWnd", 7}, {"Progman/SHELLDLL_DefView/SysListView32", 9}};
    sys.shell.foreground = 3;
    RefreshDesktop(state);
    EXPECT_EQ(sys.system.calls, (QStringList{"info 88 0 flags 3", "wait 2000"}));
    EXPECT_EQ(sys.shell.calls, (QStringList{"find Shell_TrayWnd", "command 7 41061",
                                            "find Progman/SHELLDLL_DefView/SysListView32", "foreground?",
                                            "foreground 9", "keys {F5}", "foreground 3"}));
    EXPECT_TRUE(sys.events.calls.contains("events"));

    // With no shell windows (every Linux desktop) the calls go nowhere and nothing fails.
    sys.shell.windows.clear();
    sys.shell.calls.clear();
    RefreshDesktop(state);
    EXPECT_EQ(sys.shell.calls.filter("command 0").size(), 1);
}

}  // namespace
}  // namespace merivane
