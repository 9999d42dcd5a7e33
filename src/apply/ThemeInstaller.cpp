#include "apply/ThemeInstaller.h"

#include "apply/SoundTheme.h"
#include "apply/ThemeValues.h"
#include "apply/WallpaperTheme.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"
#include "settings/RegOp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace merivane {

namespace {

enum ThemeGroup { kIcons, kColors, kCursors, kSounds, kMetrics, kScreenSaver, kWebview, kLogos, kWallpaper };

const char* const kColorNames[] = {
    "Scrollbar",
    "Background",
    "ActiveTitle",
    "InactiveTitle",
    "Menu",
    "Window",
    "WindowFrame",
    "MenuText",
    "WindowText",
    "TitleText",
    "ActiveBorder",
    "InactiveBorder",
    "AppWorkspace",
    "Hilight",
    "HilightText",
    "ButtonFace",
    "ButtonShadow",
    "GrayText",
    "ButtonText",
    "InactiveTitleText",
    "ButtonHilight",
    "ButtonDkShadow",
    "ButtonLight",
    "InfoText",
    "InfoWindow",
    "ButtonAlternateFace",
    "HotTrackingColor",
    "GradientActiveTitle",
    "GradientInactiveTitle",
};
constexpr int kWindows95Colors = 25;

struct Pointer {
    const char* Name;
    int Identifier;
};
const Pointer kPointers[] = {
    {"Arrow", 32512},   {"Ibeam", 32513},    {"Wait", 32514},        {"Crosshair", 32515}, {"UpArrow", 32516},
    {"No", 32648},      {"SizeNWSE", 32642}, {"SizeNESW", 32643},    {"SizeWE", 32644},    {"SizeNS", 32645},
    {"SizeAll", 32646}, {"Hand", 32649},     {"AppStarting", 32650}, {"Help", 32651},      {"NWPen", 32761},
};
constexpr int kWindows95Pointers = 11;

const char* const kDesktopKeys[] = {"Wallpaper", "TileWallpaper", "WallpaperStyle", "Pattern",
                                    "ScreenSaveActive"};
constexpr int kMetricsBytes = 501;
constexpr int kMetricsPauseMs = 2000;

bool Enabled(const CalendarState& state, ThemeGroup group) {
    return state.Setup.UseThemeMgrSettings[group];
}

QString Raw(const QString& file, const QString& section, const QString& key, int buffer = kThemeValueBuffer) {
    return CutAtNul(ProfileFile::ReadString(file, section, key, QString(), buffer));
}

QString Expanded(const CalendarState& state, const QString& folder, const QString& value) {
    return ExpandThemePath(value, folder, state.WindowsDir, state.SystemDir);
}

// Writes the value when it differs from what the key holds; tells whether it did.
bool WriteIfChanged(RegOp& reg, const QString& name, const QString& value) {
    if (reg.Value(name).ToText() == value) {
        return false;
    }
    reg.SetValue(name, Variant::Text(value));
    return true;
}

// The entries of the desktop icons: theme section (and registry key below the prefix) and key.
struct IconEntry {
    const char* Section;
    const char* Key;
};
const char* const kRecycleBin = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
const IconEntry kIconEntries[] = {
    {"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", "DefaultValue"},
    {"CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon", "DefaultValue"},
    {"CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\DefaultIcon", "DefaultValue"},
    {kRecycleBin, "empty"},
    {kRecycleBin, "full"},
};

// Where the icon keys live, by Windows version.
struct IconPlace {
    RegRoot Root;
    const char* Prefix;
};
IconPlace IconPlaceFor(int windowsVersion) {
    if (windowsVersion <= 0) {
        return {RegRoot::ClassesRoot, ""};
    }
    if (windowsVersion <= 3) {
        return {RegRoot::CurrentUser, "Software\\Classes\\"};
    }
    return {RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"};
}

// "DefaultValue" in a theme stands for the key's own (unnamed) value.
QString ValueNameOf(const char* themeKey) {
    return QLatin1String(themeKey) == QLatin1String("DefaultValue") ? QString()
                                                                    : QString::fromLatin1(themeKey);
}

struct Logo {
    const char* FirstKey;
    const char* SecondKey;
    bool InWindows;  // else the root of the C: drive
    const char* Target;
};
const Logo kLogoFiles[] = {
    {"Startup", "Startup", false, "logo.sys"},
    {"Wait", "ShutdownW", true, "logow.sys"},
    {"Shutdown", "ShutdownS", true, "logos.sys"},
};

struct WebPicture {
    const char* FirstKey;  // also the installed name it is restored under
    const char* BaseName;
};
const WebPicture kWebPictures[] = {
    {"wvleft.bmp", "wvleft"},
    {"wvline.gif", "wvline"},
    {"wvlogo.gif", "wvlogo"},
};

// A file that exists (a folder or nothing does not count).
bool IsFile(const CalendarState& state, const QString& path) {
    const QString host = HostPath(state.Sys.Home, path);
    return !host.isEmpty() && QFileInfo(host).isFile();
}

// Copies over whatever the target is, hidden or not. Targets are always the program's own
// names in the home's folders; sources are whatever the theme names.
bool CopyOver(const QString& hostSource, const QString& hostTarget) {
    if (hostSource.isEmpty() || hostTarget.isEmpty() || !QFileInfo(hostSource).isFile()) {
        return false;
    }
    if (QFileInfo::exists(hostTarget)) {
        SetHidden(hostTarget, false);
        QFile::remove(hostTarget);
    }
    return QFile::copy(hostSource, hostTarget);
}

// The files of a folder named base + "." + three characters (hidden ones too), by name.
QStringList WithAnyExtension(const QString& hostFolder, const QString& baseName) {
    return QDir(hostFolder)
        .entryList({baseName + QStringLiteral(".???")}, QDir::Files | QDir::Hidden | QDir::System,
                   QDir::Name | QDir::IgnoreCase);
}

// The first key's value, or the second's when the first gives nothing; expanded, trimmed.
QString LogoValue(const CalendarState& state, const QString& folder, const QString& file,
                  const QString& section, const char* firstKey, const char* secondKey) {
    QString value =
        ProfileFile::ReadString(file, section, QString::fromLatin1(firstKey), QString(), kThemeValueBuffer);
    if (value.isEmpty() || value.front() == QChar(0)) {
        value = ProfileFile::ReadString(file, section, QString::fromLatin1(secondKey), QString(),
                                        kThemeValueBuffer);
    }
    return Expanded(state, folder, CutAtNul(value)).trimmed();
}

constexpr int kWindows98 = 2;
constexpr int kTaskbarRefresh = 41061;
constexpr int kRefreshPauseMs = 2000;

int ByteOf(const QString& number) {
    bool ok = false;
    int value = number.toInt(&ok);
    return ok ? std::clamp(value, 0, 255) : 0;
}

}  // namespace

std::uint32_t ParseColor(const QString& value) {
    int p1 = value.indexOf(u' ');
    int p2 = p1 < 0 ? -1 : value.indexOf(u' ', p1 + 1);
    if (p1 < 0 || p2 < 0) {
        return 0;
    }
    auto part = [](const QString& text) { return static_cast<std::uint32_t>(ByteOf(text.trimmed())); };
    return part(value.left(p1)) + 256 * part(value.mid(p1 + 1, p2 - p1 - 1)) +
           65536 * part(value.mid(p2 + 1));
}

QByteArray ParseMetrics(const QString& value) {
    QByteArray bytes;
    QString rest = value;
    while (!rest.isEmpty() && bytes.size() < kMetricsBytes) {
        int p = rest.indexOf(u' ');
        if (p < 0) {
            p = static_cast<int>(rest.size());
        }
        bytes.append(static_cast<char>(ByteOf(rest.left(p))));
        rest = rest.mid(p).trimmed();
    }
    return bytes;
}

void ApplyColors(CalendarState& state, const QString& folder, const QString& fileName) {
    RegOp reg(state.Sys);
    reg.SetKey(QStringLiteral("Control Panel\\Colors"));
    const int count = state.WindowsVersion == 0 ? kWindows95Colors : static_cast<int>(std::size(kColorNames));
    std::vector<int> elements;
    std::vector<std::uint32_t> colors;
    for (int element = 0; element < count; ++element) {
        const QString name = QString::fromLatin1(kColorNames[element]);
        QString value = Raw(ThemeFileIn(folder, fileName), QStringLiteral("Control Panel\\Colors"), name);
        if (WriteIfChanged(reg, name, value) && !value.isEmpty()) {
            elements.push_back(element);
            colors.push_back(ParseColor(value));
        }
    }
    if (!elements.empty()) {
        state.Sys.System.SetSysColors(elements, colors);
    }
}

void ApplyCursors(CalendarState& state, const QString& folder, const QString& fileName) {
    RegOp reg(state.Sys);
    reg.SetKey(QStringLiteral("Control Panel\\Cursors"));
    const int count = state.WindowsVersion == 0 ? kWindows95Pointers : static_cast<int>(std::size(kPointers));
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(kPointers[i].Name);
        QString value =
            Expanded(state, folder,
                     Raw(ThemeFileIn(folder, fileName), QStringLiteral("Control Panel\\Cursors"), name))
                .trimmed();
        if (WriteIfChanged(reg, name, value)) {
            state.Sys.System.SetSystemCursor(value.isEmpty() ? QString() : HostPath(state.Sys.Home, value),
                                             kPointers[i].Identifier);
        }
    }
}

void ApplyScreenSaver(CalendarState& state, const QString& path) {
    QString saver = path.trimmed();
    QString host = HostPath(state.Sys.Home, saver);
    if (!saver.isEmpty() && (host.isEmpty() || !QFileInfo::exists(host))) {
        saver.clear();
    }
    ProfileFile::WriteString(HostPath(state.Sys.Home, state.WindowsDir + QStringLiteral("SYSTEM.INI")),
                             QStringLiteral("Boot"), QStringLiteral("SCRNSAVE.EXE"), saver);
    state.Sys.System.ParametersInfo(SystemSettings::kSetScreenSaveActive, saver.isEmpty() ? 0 : 1, QString(),
                                    {}, SystemSettings::kUpdateAndBroadcast);
    RegOp reg(state.Sys);
    reg.SetKey(QStringLiteral("Control Panel\\Desktop"));
    reg.SetValue(QStringLiteral("SCRNSAVE.EXE"), Variant::Text(saver));
}

void ApplyDesktop(CalendarState& state, const QString& folder, const QString& fileName) {
    const QString file = ThemeFileIn(folder, fileName);
    QString slots[5];
    for (int i = 0; i < 5; ++i) {
        int buffer = i == 0 ? kThemePictureBuffer : kThemeValueBuffer;
        slots[i] =
            Expanded(state, folder, Raw(file, kDesktopSection, QString::fromLatin1(kDesktopKeys[i]), buffer));
    }
    const auto problemsBefore = state.ApplyProblems.size();
    if (!slots[0].isEmpty()) {
        slots[0] = ConvertWallpaper(state, Expanded(state, folder, slots[0]).trimmed(), slots[1], slots[2]);
    }
    // A wallpaper that cannot be read never blanks the desktop: it keeps what it shows.
    const bool keepWallpaper = state.ApplyProblems.size() > problemsBefore;
    QString saver =
        Expanded(state, folder, Raw(file, QStringLiteral("Boot"), QStringLiteral("SCRNSAVE.EXE"))).trimmed();
    if (Enabled(state, kScreenSaver)) {
        ApplyScreenSaver(state, saver);
    }
    if (Enabled(state, kWallpaper) && !keepWallpaper) {
        RegOp reg(state.Sys);
        reg.SetKey(kDesktopSection);
        for (int i = 0; i < 5; ++i) {
            WriteIfChanged(reg, QString::fromLatin1(kDesktopKeys[i]), slots[i]);
        }
        reg.SetKey(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"));
        for (int i = 0; i < 3; ++i) {
            WriteIfChanged(reg, QString::fromLatin1(kDesktopKeys[i]), slots[i]);
        }
        state.Sys.System.ParametersInfo(SystemSettings::kSetDeskWallpaper, 0, slots[0], {},
                                        SystemSettings::kUpdateAndBroadcast);
    }
}

void ApplyMetrics(CalendarState& state, const QString& folder, const QString& fileName) {
    QByteArray buffer(kMetricsBytes, '\0');  // kept between the two values, as one buffer
    const std::pair<const char*, int> metrics[] = {
        {"IconMetrics", SystemSettings::kSetIconMetrics},
        {"NonclientMetrics", SystemSettings::kSetNonClientMetrics}};
    for (const auto& [key, action] : metrics) {
        QByteArray bytes = ParseMetrics(Raw(ThemeFileIn(folder, fileName), QStringLiteral("Metrics"),
                                            QString::fromLatin1(key), kThemeMetricsBuffer));
        buffer.replace(0, bytes.size(), bytes);
        state.Sys.System.ParametersInfo(action, static_cast<int>(bytes.size()), QString(), buffer,
                                        SystemSettings::kUpdateAndBroadcast);
        state.Sys.Events.ProcessEvents();
        state.Sys.System.WaitForDesktop(kMetricsPauseMs);
    }
}

void ApplyDesktopIcons(CalendarState& state, const QString& folder, const QString& fileName) {
    const QString file = ThemeFileIn(folder, fileName);
    const IconPlace place = IconPlaceFor(state.WindowsVersion);
    const QString prefix = QString::fromLatin1(place.Prefix);
    RegOp reg(state.Sys);
    reg.SetRoot(place.Root);
    reg.SetKey(prefix + QString::fromLatin1(kRecycleBin));
    const bool binEmpty = reg.Value(QString()).ToText() == reg.Value(QStringLiteral("empty")).ToText();
    for (const IconEntry& entry : kIconEntries) {
        const QString value =
            Expanded(state, folder,
                     Raw(file, QString::fromLatin1(entry.Section), QString::fromLatin1(entry.Key)))
                .trimmed();
        reg.SetKey(prefix + QString::fromLatin1(entry.Section));
        WriteIfChanged(reg, ValueNameOf(entry.Key), value);
    }
    reg.SetKey(prefix + QString::fromLatin1(kRecycleBin));
    // A full bin stays shown as full, with the new theme's picture of a full bin.
    WriteIfChanged(reg, QString(),
                   reg.Value(binEmpty ? QStringLiteral("empty") : QStringLiteral("full")).ToText());
}

void ApplySounds(CalendarState& state, const QString& folder, const QString& fileName) {
    const QString file = ThemeFileIn(folder, fileName);
    RegOp reg(state.Sys);
    for (const SoundEvent& event : kSoundEvents) {
        const QString key = QStringLiteral("AppEvents\\Schemes\\Apps\\") + QString::fromLatin1(event.Path);
        QString value = Expanded(state, folder, Raw(file, key, QStringLiteral("DefaultValue"))).trimmed();
        if (!value.isEmpty() && !IsFile(state, value)) {
            value.clear();
        }
        reg.SetKey(key);
        WriteIfChanged(reg, QString(), value);
    }
}

void ApplyLogos(CalendarState& state, const QString& folder, const QString& fileName) {
    if (state.WindowsVersion != 0 && state.WindowsVersion != 2 && state.WindowsVersion != 3) {
        return;  // NT 4, 2000 and XP keep their logos elsewhere
    }
    const QString file = ThemeFileIn(folder, fileName);
    for (const Logo& logo : kLogoFiles) {
        const QString target =
            HostPath(state.Sys.Home, (logo.InWindows ? state.WindowsDir : state.Sys.Home.DriveC) +
                                         QString::fromLatin1(logo.Target));
        const QString backup = target + QStringLiteral(".bak");
        if (!QFileInfo::exists(backup) && QFileInfo(target).isFile() && QFile::copy(target, backup)) {
            SetHidden(backup, true);
        }
        const QString value =
            LogoValue(state, folder, file, QStringLiteral("Logos"), logo.FirstKey, logo.SecondKey);
        if (value.isEmpty() || !IsFile(state, value)) {
            CopyOver(backup, target);
        } else {
            CopyOver(HostPath(state.Sys.Home, value), target);
        }
        SetHidden(target, true);
    }
}

void ApplyWebview(CalendarState& state, const QString& folder, const QString& fileName) {
    if (state.WindowsVersion < kWindows98) {
        return;
    }
    const QString file = ThemeFileIn(folder, fileName);
    const QString web = HostPath(state.Sys.Home, state.WindowsDir + QStringLiteral("web/"));
    QDir().mkpath(web);
    for (const WebPicture& picture : kWebPictures) {
        const QString base = QString::fromLatin1(picture.BaseName);
        const QStringList backups = QDir(web).entryList({base + QStringLiteral(".???.bak")},
                                                        QDir::Files | QDir::Hidden | QDir::System);
        const QStringList present = WithAnyExtension(web, base);
        if (backups.isEmpty() && !present.isEmpty() &&
            QFile::copy(web + present.first(), web + present.first() + ".bak")) {
            SetHidden(web + present.first() + QStringLiteral(".bak"), true);
        }
        const QString value =
            LogoValue(state, folder, file, QStringLiteral("Webview"), picture.FirstKey, picture.BaseName);
        for (const QString& old : WithAnyExtension(web, base)) {
            SetHidden(web + old, false);
            QFile::remove(web + old);
        }
        const QString first = QString::fromLatin1(picture.FirstKey);
        if (value.isEmpty() || !IsFile(state, value)) {
            if (CopyOver(web + first + QStringLiteral(".bak"), web + first)) {
                SetHidden(web + first, true);
            }
        } else {
            // The picture's own extension: a .jpg named for wvleft.bmp is installed as wvleft.jpg.
            const QString installed = web + base + value.right(4);
            if (CopyOver(HostPath(state.Sys.Home, value), installed)) {
                SetHidden(installed, true);
            }
        }
    }
}

void ApplyToolbarBitmap(CalendarState& state, const QString& folder, const QString& fileName) {
    QString value =
        Expanded(state, folder,
                 Raw(ThemeFileIn(folder, fileName), QStringLiteral("Webview"), QStringLiteral("Hotbar")))
            .trimmed();
    if (!value.isEmpty() && !IsFile(state, value)) {
        value.clear();
    }
    RegOp reg(state.Sys);
    reg.SetKey(QStringLiteral("Software\\Microsoft\\Internet Explorer\\Toolbar"));
    if (reg.Value(QStringLiteral("BackBitmap")).ToText() == value) {
        return;
    }
    if (value.isEmpty()) {
        reg.DeleteValue(QStringLiteral("BackBitmap"));
    } else {
        reg.SetValue(QStringLiteral("BackBitmap"), Variant::Text(value));
    }
}

void ReloadIcons(CalendarState& state) {
    state.Sys.System.ParametersInfo(SystemSettings::kReloadIcons, 0, QString(), {},
                                    SystemSettings::kUpdateAndBroadcast);
}

void RefreshDesktop(CalendarState& state) {
    ReloadIcons(state);
    DesktopShell& shell = state.Sys.Shell;
    shell.SendCommand(shell.FindDesktopChild({QStringLiteral("Shell_TrayWnd")}), kTaskbarRefresh);
    const DesktopShell::Window icons = shell.FindDesktopChild(
        {QStringLiteral("Progman"), QStringLiteral("SHELLDLL_DefView"), QStringLiteral("SysListView32")});
    const DesktopShell::Window before = shell.Foreground();
    shell.SetForeground(icons);
    shell.SendKeys(QStringLiteral("{F5}"));
    state.Sys.Events.ProcessEvents();
    state.Sys.System.WaitForDesktop(kRefreshPauseMs);
    shell.SetForeground(before);
}

void ApplyThemeFile(CalendarState& state, const QString& themeFile, const QString& themeFolder) {
    const QString ownFolder = FolderOf(themeFile);
    const bool elsewhere = !themeFolder.isEmpty() && themeFolder != ownFolder;
    const QString folder = elsewhere ? themeFolder : ownFolder;
    const QString fileName = elsewhere ? themeFile : themeFile.mid(ownFolder.size());
    const std::pair<ThemeGroup, void (*)(CalendarState&, const QString&, const QString&)> groups[] = {
        {kIcons, ApplyDesktopIcons}, {kColors, ApplyColors},   {kCursors, ApplyCursors},
        {kSounds, ApplySounds},      {kMetrics, ApplyMetrics},
    };
    for (const auto& [group, apply] : groups) {
        if (Enabled(state, group)) {
            apply(state, folder, fileName);
        }
    }
    ApplyDesktop(state, folder, fileName);
    if (Enabled(state, kWebview)) {
        ApplyWebview(state, folder, fileName);
        ApplyToolbarBitmap(state, folder, fileName);
    }
    if (Enabled(state, kLogos)) {
        ApplyLogos(state, folder, fileName);
    }
    ApplyDesktopSoundTheme(state, folder, fileName, Enabled(state, kSounds));
    RefreshDesktop(state);
}

}  // namespace merivane
