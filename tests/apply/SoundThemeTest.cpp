#include "apply/SoundTheme.h"

#include "platform/ProfileFile.h"
#include "platform/linux/LinuxDesktopSounds.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace merivane {
namespace {

// A WAV file's first bytes: RIFF, WAVE, optionally a LIST chunk, then "fmt " with the tag.
QByteArray Wav(std::uint16_t tag, bool listFirst = false, std::uint16_t subTag = 1) {
    auto le32 = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](std::uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    QByteArray format = le16(tag) + le16(2) + le32(44100) + le32(176400) + le16(4) + le16(16);
    if (tag == 0xFFFE) {
        format += le16(22) + le16(16) + le32(3) + le16(subTag) +
                  QByteArray::fromHex("000000001000800000aa00389b71");
    }
    QByteArray chunks;
    if (listFirst) {
        chunks += "LIST" + le32(5) + QByteArray("INFOx") + QByteArray(1, '\0');  // odd size: one pad byte
    }
    chunks +=
        "fmt " + le32(static_cast<std::uint32_t>(format.size())) + format + "data" + le32(4) + "\1\2\3\4";
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

TEST(PcmWav, OnlyPcmSamplesCount) {
    QTemporaryDir dir;
    struct Case {
        const char* Name;
        QByteArray Bytes;
        bool Pcm;
    };
    const Case cases[] = {
        {"pcm", Wav(1), true},
        {"pcm after a LIST chunk", Wav(1, true), true},
        {"adpcm", Wav(2), false},
        {"extensible pcm", Wav(0xFFFE), true},
        {"extensible float", Wav(0xFFFE, false, 3), false},
        {"mp3 named .wav", QByteArray("ID3\3\0\0\0\0\0\0") + QByteArray(100, 'x'), false},
        {"cut short", Wav(1).left(20), false},
        {"empty", QByteArray(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.path() + "/" + c.Name + ".wav";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.Bytes);
        file.close();
        EXPECT_EQ(IsPcmWav(path), c.Pcm);
    }
}

class SoundThemeTest : public ::testing::Test {
  protected:
    SoundThemeTest() {
        sys.PlaceIn(state);
        state.Setup.UseDesktopSoundTheme = true;
        sys.env.Set("XDG_DATA_HOME", sys.Scratch("data"));
    }
    QString Themes() const { return sys.Scratch("themes/"); }
    QString Ours() const { return sys.Scratch("data/sounds/merivane/"); }
    // A theme whose events name these files (event path -> file name in the theme folder).
    QString Theme(const std::vector<std::pair<QString, QString>>& sounds) {
        QByteArray text;
        for (const auto& [event, file] : sounds) {
            text += "[AppEvents\\Schemes\\Apps\\" + event.toUtf8() + "]\r\nDefaultValue=%ThemeDir%" +
                    file.toUtf8() + "\r\n";
        }
        sys.WriteFile(Themes() + "Winter.theme", text.isEmpty() ? QByteArray("[Colors]\r\n") : text);
        return "Winter.theme";
    }
    QStringList Installed() const { return QDir(Ours() + "stereo").entryList(QDir::Files, QDir::Name); }
    QString Index(const QString& section, const QString& key) const {
        return ProfileFile::ReadString(Ours() + "index.theme", section, key, "?", 256);
    }

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(SoundThemeTest, TheThemesSoundsBecomeTheUsersSoundTheme) {
    sys.WriteFile(Themes() + "start.wav", Wav(1));
    sys.WriteFile(Themes() + "hand.wav", Wav(1) + "hand");
    sys.WriteFile(Themes() + "fault.wav", Wav(1) + "fault");
    sys.WriteFile(Themes() + "close.wav", Wav(2));
    sys.WriteFile(Themes() + "mail.wav", Wav(0xFFFE));
    sys.sounds.files = {{"login", "/usr/share/sounds/login.ogg"}, {"close", ""}};
    ApplyDesktopSoundTheme(state, Themes(),
                           Theme({{".Default\\SystemStart\\.Current", "start.wav"},
                                  {".Default\\AppGPFault\\.Current", "fault.wav"},
                                  {".Default\\SystemHand\\.Current", "hand.wav"},
                                  {".Default\\Close\\.Current", "close.wav"},
                                  {".Default\\MailBeep\\.Current", "mail.wav"},
                                  {".Default\\Minimize\\.Current", "missing.wav"}}),
                           true);
    EXPECT_EQ(Installed(), (QStringList{"desktop-login.wav", "dialog-error.wav", "message-new-email.wav"}));
    QFile error(Ours() + "stereo/dialog-error.wav");
    ASSERT_TRUE(error.open(QIODevice::ReadOnly));
    EXPECT_TRUE(error.readAll().endsWith("hand"));  // SystemHand's, not AppGPFault's
    EXPECT_EQ(Index("Sound Theme", "Inherits"), "freedesktop");
    EXPECT_EQ(Index("Sound Theme", "Directories"), "stereo");
    EXPECT_EQ(Index("stereo", "OutputProfile"), "stereo");
    EXPECT_EQ(sys.sounds.calls, (QStringList{"theme merivane", "files login=" + Ours() +
                                                                   "stereo/desktop-login.wav "
                                                                   "notification=" +
                                                                   Ours() + "stereo/message-new-email.wav"}));
    EXPECT_EQ(sys.console.err.count("is not a PCM WAV file"), 1);
    EXPECT_TRUE(sys.console.err.contains("close.wav"));

    // The next theme's sounds replace these; what came before ours stays what it was. The
    // sound folders are touched, so that the desktop's sound cache reads them again.
    sys.WriteFile(Themes() + "exit.wav", Wav(1));
    sys.sounds.calls.clear();
    const QString sounds = sys.Scratch("data/sounds");
    ASSERT_EQ(QProcess::execute("touch", {"-d", "2020-01-01", sounds, Ours()}), 0);
    ApplyDesktopSoundTheme(state, Themes(), Theme({{".Default\\SystemExit\\.Current", "exit.wav"}}), true);
    EXPECT_GT(QFileInfo(sounds).lastModified().date().year(), 2020);
    EXPECT_GT(QFileInfo(Ours()).lastModified().date().year(), 2020);
    EXPECT_EQ(Installed(), QStringList{"desktop-logout.wav"});
    EXPECT_EQ(Index("Sound Theme", "Inherits"), "freedesktop");
    EXPECT_EQ(sys.sounds.theme, "merivane");

    // A theme without sounds brings back what was selected before, once.
    sys.sounds.calls.clear();
    ApplyDesktopSoundTheme(state, Themes(), Theme({}), true);
    EXPECT_EQ(sys.sounds.theme, "freedesktop");
    EXPECT_EQ(sys.sounds.files.value("login"), "/usr/share/sounds/login.ogg");
    EXPECT_EQ(sys.sounds.calls.size(), 2);
    ApplyDesktopSoundTheme(state, Themes(), Theme({}), true);
    EXPECT_EQ(sys.sounds.calls.size(), 2);
}

TEST_F(SoundThemeTest, TurnedOffOrWithTheSoundsGroupOffWhatWasBeforeComesBack) {
    sys.WriteFile(Themes() + "start.wav", Wav(1));
    sys.sounds.theme = "Yaru";
    const QString theme = Theme({{".Default\\SystemStart\\.Current", "start.wav"}});
    ApplyDesktopSoundTheme(state, Themes(), theme, true);
    EXPECT_EQ(sys.sounds.theme, "merivane");
    EXPECT_EQ(Index("Sound Theme", "Inherits"), "Yaru");
    ApplyDesktopSoundTheme(state, Themes(), theme, false);  // the sounds group off
    EXPECT_EQ(sys.sounds.theme, "Yaru");
    ApplyDesktopSoundTheme(state, Themes(), theme, true);
    state.Setup.UseDesktopSoundTheme = false;
    ApplyDesktopSoundTheme(state, Themes(), theme, true);
    EXPECT_EQ(sys.sounds.theme, "Yaru");
    // Off from the start: nothing is made and nothing is told.
    QDir(Ours()).removeRecursively();
    sys.sounds.calls.clear();
    ApplyDesktopSoundTheme(state, Themes(), theme, true);
    EXPECT_FALSE(QFileInfo::exists(Ours()));
    EXPECT_TRUE(sys.sounds.calls.isEmpty());
}

// GNOME's setting for real, through GSettings' keyfile backend in a folder of the test's own.
TEST(DesktopSoundsOnGnome, TheThemeNameIsSetAndComesBack) {
    if (QStandardPaths::findExecutable("gsettings").isEmpty()) {
        GTEST_SKIP() << "gsettings is not installed";
    }
    QTemporaryDir config;
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    test::TestPlatform sys;
    sys.env.Set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    sys.env.Set("XDG_DATA_HOME", sys.Scratch("data"));
    ProcessRunner runner(sys.Home().Home);
    LinuxDesktopSounds gnome(sys.env, runner);
    Platform platform = sys.Get();
    Platform real{platform.Home,    platform.Store, platform.Env,    platform.Time,
                  platform.Rng,     platform.Ui,    platform.Con,    platform.Instances,
                  platform.Version, platform.Procs, platform.Events, platform.Display,
                  platform.System,  platform.Shell, platform.Mouse,  platform.Audio,
                  platform.Logo,    gnome};
    CalendarState state(real);
    sys.PlaceIn(state);
    state.Setup.UseDesktopSoundTheme = true;
    sys.WriteFile(sys.Scratch("themes/start.wav"), Wav(1));
    sys.WriteFile(sys.Scratch("themes/Winter.theme"),
                  "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]\r\nDefaultValue=%ThemeDir%"
                  "start.wav\r\n");
    ASSERT_EQ(gnome.SelectedTheme(), "freedesktop");  // the schema's default

    ApplyDesktopSoundTheme(state, sys.Scratch("themes/"), "Winter.theme", true);
    EXPECT_EQ(gnome.SelectedTheme(), "merivane");
    QFile keyfile(config.path() + "/glib-2.0/settings/keyfile");
    ASSERT_TRUE(keyfile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(keyfile.readAll().contains("theme-name='merivane'"));
    EXPECT_TRUE(QFileInfo::exists(sys.Scratch("data/sounds/merivane/stereo/desktop-login.wav")));
    EXPECT_EQ(ProfileFile::ReadString(sys.Scratch("data/sounds/merivane/index.theme"), "Sound Theme",
                                      "Inherits", "", 64),
              "freedesktop");

    state.Setup.UseDesktopSoundTheme = false;
    ApplyDesktopSoundTheme(state, sys.Scratch("themes/"), "Winter.theme", true);
    EXPECT_EQ(gnome.SelectedTheme(), "freedesktop");
    qunsetenv("GSETTINGS_BACKEND");
    qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace merivane
