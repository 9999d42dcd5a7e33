#include "apply/ThemeInstaller.h"

#include "apply/ThemeValues.h"
#include "apply/WallpaperTheme.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "settings/RegOp.h"

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

// The file a section applier reads: its name within the theme folder, or a full path when
// the working copy lies elsewhere (in the home) while %ThemeDir% still means the folder.
QString ThemeFileIn(const QString& folder, const QString& fileName) {
    return fileName.startsWith(u'/') ? fileName : folder + fileName;
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

void ApplyDesktopIcons(CalendarState&, const QString&, const QString&) {}
void ApplySounds(CalendarState&, const QString&, const QString&) {}
void ApplyWebview(CalendarState&, const QString&, const QString&) {}
void ApplyToolbarBitmap(CalendarState&, const QString&, const QString&) {}
void ApplyLogos(CalendarState&, const QString&, const QString&) {}
void RefreshDesktop(CalendarState&) {}

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
    RefreshDesktop(state);
}

}  // namespace merivane
