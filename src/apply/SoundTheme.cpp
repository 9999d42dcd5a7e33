#include "apply/SoundTheme.h"

#include "apply/ThemeValues.h"
#include "platform/FolderListing.h"
#include "platform/Home.h"
#include "platform/HostPath.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace merivane {

const SoundEvent kSoundEvents[21] = {
    {".Default\\.Default\\.Current", "bell-window-system", ""},
    {".Default\\AppGPFault\\.Current", "dialog-error", ""},
    {".Default\\Maximize\\.Current", "window-maximized", "maximize"},
    {".Default\\MenuCommand\\.Current", "menu-click", ""},
    {".Default\\MenuPopup\\.Current", "menu-popup", ""},
    {".Default\\Minimize\\.Current", "window-minimized", "minimize"},
    {".Default\\Open\\.Current", "window-new", "map"},
    {".Default\\Close\\.Current", "window-close", "close"},
    {".Default\\RestoreDown\\.Current", "window-unmaximized", "unmaximize"},
    {".Default\\RestoreUp\\.Current", "window-unminimized", ""},
    {".Default\\Ringout\\.Current", "phone-outgoing-calling", ""},
    {".Default\\RingIn\\.Current", "phone-incoming-call", ""},
    {".Default\\SystemAsterisk\\.Current", "dialog-information", ""},
    {".Default\\SystemExclamation\\.Current", "dialog-warning", ""},
    {".Default\\SystemExit\\.Current", "desktop-logout", "logout"},
    {".Default\\SystemHand\\.Current", "dialog-error", ""},
    {".Default\\SystemQuestion\\.Current", "dialog-question", ""},
    {".Default\\SystemStart\\.Current", "desktop-login", "login"},
    {".Default\\MailBeep\\.Current", "message-new-email", "notification"},
    {"Explorer\\EmptyRecycleBin\\.Current", "trash-empty", ""},
    {"Explorer\\Navigating\\.Current", "link-pressed", ""},
};

namespace {

const QString kThemeName = QStringLiteral("merivane");
const QString kOwnSection = QStringLiteral("Merivane");
constexpr int kAppGPFault = 1;

QString SoundsFolder(const CalendarState& state) {
    return DataHome(state.Sys.Env) + QStringLiteral("/sounds/");
}

QString ThemeFolder(const CalendarState& state) {
    return SoundsFolder(state) + kThemeName + u'/';
}

// What was selected before ours, as our theme keeps it: the inherited theme, and
// Cinnamon's event files ("Cinnamon-KEY").
struct Before {
    QString Theme;
    QMap<QString, QString> EventFiles;
};

bool OursIsSelected(const QString& index) {
    return ProfileFile::ReadString(index, kOwnSection, QStringLiteral("Selected"), QString(), 16) ==
           QLatin1String("1");
}

Before ReadBefore(const QString& index) {
    Before before;
    before.Theme = ProfileFile::ReadString(index, QStringLiteral("Sound Theme"), QStringLiteral("Inherits"),
                                           QString(), 256);
    for (const SoundEvent& event : kSoundEvents) {
        if (event.CinnamonKey[0] != '\0') {
            const QString key = QString::fromLatin1(event.CinnamonKey);
            before.EventFiles[key] = ProfileFile::ReadString(
                index, kOwnSection, QStringLiteral("Cinnamon-") + key, QString(), 1024);
        }
    }
    return before;
}

void WriteIndex(const QString& index, const Before& before, bool selected) {
    QString text = QStringLiteral(
                       "[Sound Theme]\r\nName=Merivane\r\nComment=The event sounds of the theme "
                       "Merivane applied last\r\nInherits=") +
                   before.Theme +
                   QStringLiteral("\r\nDirectories=stereo\r\n\r\n[stereo]\r\nOutputProfile=stereo\r\n\r\n[") +
                   kOwnSection + QStringLiteral("]\r\nSelected=") + (selected ? u'1' : u'0') +
                   QStringLiteral("\r\n");
    for (auto it = before.EventFiles.begin(); it != before.EventFiles.end(); ++it) {
        text += QStringLiteral("Cinnamon-") + it.key() + u'=' + it.value() + QStringLiteral("\r\n");
    }
    WriteFileAtomically(index, text.toUtf8(), nullptr);
}

void RestoreBefore(CalendarState& state) {
    const QString index = ThemeFolder(state) + QStringLiteral("index.theme");
    if (!QFileInfo::exists(index) || !OursIsSelected(index)) {
        return;
    }
    const Before before = ReadBefore(index);
    state.Sys.Sounds.SelectTheme(before.Theme.isEmpty() ? QStringLiteral("freedesktop") : before.Theme);
    state.Sys.Sounds.SetEventFiles(before.EventFiles);
    WriteIndex(index, before, false);
}

}  // namespace

bool IsPcmWav(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") {
        return false;
    }
    // Chunks follow: the "fmt " one tells the sample format.
    for (int chunks = 0; chunks < 64; ++chunks) {
        const QByteArray header = file.read(8);
        if (header.size() < 8) {
            return false;
        }
        std::uint32_t size = 0;
        std::memcpy(&size, header.constData() + 4, 4);  // little-endian, as on this machine
        if (header.startsWith("fmt ")) {
            const QByteArray format = file.read(std::min<std::uint32_t>(size, 40));
            if (format.size() < 2) {
                return false;
            }
            const auto tag = static_cast<std::uint16_t>(static_cast<unsigned char>(format[0]) |
                                                        static_cast<unsigned char>(format[1]) << 8);
            if (tag == 1) {
                return true;
            }
            // WAVE_FORMAT_EXTENSIBLE: the sub-format's first two bytes are the format tag.
            return tag == 0xFFFE && format.size() >= 26 && format[24] == 1 && format[25] == 0;
        }
        if (!file.seek(file.pos() + size + (size & 1))) {
            return false;
        }
    }
    return false;
}

void ApplyDesktopSoundTheme(CalendarState& state, const QString& folder, const QString& fileName,
                            bool soundsEnabled) {
    if (!state.Setup.UseDesktopSoundTheme || !soundsEnabled) {
        RestoreBefore(state);
        return;
    }
    const QString file = ThemeFileIn(folder, fileName);
    // The theme's sound for each freedesktop name; AppGPFault's error sound counts only when
    // SystemHand gives none, so it is looked at last.
    const QString theme = ThemeFolder(state);
    const QString stereo = theme + QStringLiteral("stereo/");
    QMap<QString, QString> sounds;         // freedesktop name -> the theme's file
    QMap<QString, QString> cinnamonFiles;  // Cinnamon's event key -> our copy
    auto consider = [&](const SoundEvent& event) {
        const QString value = ExpandThemePath(ReadThemeValue(file,
                                                             QStringLiteral("AppEvents\\Schemes\\Apps\\") +
                                                                 QString::fromLatin1(event.Path),
                                                             QStringLiteral("DefaultValue")),
                                              folder, state.WindowsDir, state.SystemDir)
                                  .trimmed();
        const QString host = value.isEmpty() ? QString() : HostPath(state.Sys.Home, value);
        const QString name = QString::fromLatin1(event.FreedesktopName);
        if (host.isEmpty() || !QFileInfo(host).isFile() || sounds.contains(name)) {
            return;
        }
        if (!IsPcmWav(host)) {
            state.Sys.Con.Err(
                QStringLiteral("merivane: %1 is not a PCM WAV file; the desktop cannot play it, "
                               "so it is left out of the sound theme.\n")
                    .arg(value));
            return;
        }
        sounds[name] = host;
        if (event.CinnamonKey[0] != '\0') {
            cinnamonFiles[QString::fromLatin1(event.CinnamonKey)] = stereo + name + QStringLiteral(".wav");
        }
    };
    for (int i = 0; i < 21; ++i) {
        if (i != kAppGPFault) {
            consider(kSoundEvents[i]);
        }
    }
    consider(kSoundEvents[kAppGPFault]);
    if (sounds.isEmpty()) {
        RestoreBefore(state);
        return;
    }

    const QString index = theme + QStringLiteral("index.theme");
    Before before;
    if (QFileInfo::exists(index) && OursIsSelected(index)) {
        before = ReadBefore(index);  // ours is in use: what came before it stays the same
    } else {
        before.Theme = state.Sys.Sounds.SelectedTheme();
        before.EventFiles = state.Sys.Sounds.EventFiles();
    }
    if (before.Theme.isEmpty() || before.Theme == kThemeName) {
        before.Theme = QStringLiteral("freedesktop");  // never inherits itself
    }
    QDir().mkpath(stereo);
    // The folder is ours: the last theme's sounds go.
    for (const QString& old : QDir(stereo).entryList(QDir::Files)) {
        QFile::remove(stereo + old);
    }
    for (auto it = sounds.begin(); it != sounds.end(); ++it) {
        QFile::copy(it.value(), stereo + it.key() + QStringLiteral(".wav"));
    }
    WriteIndex(index, before, true);
    // libcanberra looks at the folders' times to know when to read them again.
    TouchFolder(stereo);
    TouchFolder(theme);
    TouchFolder(SoundsFolder(state));
    state.Sys.Sounds.SelectTheme(kThemeName);
    state.Sys.Sounds.SetEventFiles(cinnamonFiles);
}

}  // namespace merivane
