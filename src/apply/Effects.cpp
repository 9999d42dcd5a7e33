#include "apply/Effects.h"

#include "apply/ThemeValues.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "settings/Variant.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace merivane {

namespace {

constexpr int kNudges = 5;
constexpr int kNudgeReach = 30;  // pixels each way
constexpr int kNudgePauseMs = 250;
constexpr int kSoundPauseMs = 3000;

QString FolderFor(const ChangeRecord& workingCopy, const QString& themeFolder) {
    return themeFolder.isEmpty() ? FolderOf(workingCopy.FileName) : themeFolder;
}

QString IconFile(const CalendarState& state) {
    return HostPath(state.Sys.Home, state.AppPath + kIconPositionsFileName);
}

QPoint ScreenPixels(const CalendarState& state) {
    const Screen& screen = state.Sys.Display;
    return {screen.WidthTwips() / screen.TwipsPerPixel(), screen.HeightTwips() / screen.TwipsPerPixel()};
}

void ToggleArrangeIfItWasOn(CalendarState& state) {
    if (state.Icons.AutoArrangeWasOn) {
        state.Sys.Shell.ToggleAutoArrange(state.Icons.IconList);
    }
}

// A line of "iconloc.dat" counts when its first tab stands after its first character;
// each number is read as a 16-bit integer (0 when it does not read as one).
std::optional<std::pair<int, int>> CountingLine(const QString& line) {
    const int tab = static_cast<int>(line.indexOf(u'\t'));
    if (tab < 1) {
        return std::nullopt;
    }
    auto number = [](const QString& text) { return int{Variant::Text(text).ToInteger().value_or(0)}; };
    return std::make_pair(number(line.left(tab)), number(line.mid(tab + 1)));
}

}  // namespace

void NudgeMouse(CalendarState& state) {
    Pointer& pointer = state.Sys.Mouse;
    pointer.EndScreenSaver();
    const std::optional<QPoint> start = pointer.Position();
    if (!start) {
        return;  // no program may move the pointer here (Wayland, no display)
    }
    QPoint moving = *start;
    for (int i = 0; i < kNudges; ++i) {
        // A whole number from -30 to 30 each way, never below 0.
        auto step = [&] {
            return static_cast<int>(state.Sys.Rng.Next() * (2 * kNudgeReach + 1)) - kNudgeReach;
        };
        moving.setX(std::max(0, moving.x() + step()));
        moving.setY(std::max(0, moving.y() + step()));
        pointer.MoveTo(moving);
        state.Sys.Events.Pause(kNudgePauseMs);
    }
    pointer.MoveTo(*start);
}

void PlayStartupSound(CalendarState& state, const ChangeRecord& workingCopy, const QString& themeFolder) {
    const QString sound = ExpandThemePath(
        ReadThemeValue(HostPath(state.Sys.Home, workingCopy.FileName),
                       QStringLiteral("AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current"),
                       QStringLiteral("DefaultValue")),
        FolderFor(workingCopy, themeFolder), state.WindowsDir, state.SystemDir);
    if (sound.trimmed().isEmpty()) {
        return;
    }
    state.Sys.Audio.PlayFile(HostPath(state.Sys.Home, sound.trimmed()));
    state.Sys.Events.Pause(kSoundPauseMs);
}

void ShowStartupLogo(CalendarState& state, bool show, const ChangeRecord& workingCopy,
                     const QString& themeFolder) {
    if (!show) {
        state.Sys.Logo.Close();
        return;
    }
    const QString logo =
        ExpandThemePath(ReadThemeValue(HostPath(state.Sys.Home, workingCopy.FileName),
                                       QStringLiteral("Logos"), QStringLiteral("Startup")),
                        FolderFor(workingCopy, themeFolder), state.WindowsDir, state.SystemDir)
            .trimmed();
    if (logo.isEmpty()) {
        return;
    }
    state.Sys.Logo.SetStartupPicture(HostPath(state.Sys.Home, logo));
    state.Sys.Logo.ShowStartup();
    state.Sys.Events.ProcessEvents();
}

void ReadIconPositions(CalendarState& state) {
    DesktopShell& shell = state.Sys.Shell;
    DesktopIcons& icons = state.Icons;
    icons.IconList = shell.FindIconList();
    if (icons.IconList == 0) {
        return;
    }
    if (shell.AutoArrange(icons.IconList)) {
        icons.AutoArrangeWasOn = true;
        shell.ToggleAutoArrange(icons.IconList);  // off, so that the icons stay where they are put
    }
    const int count = std::clamp(shell.ItemCount(icons.IconList), 0, 32767);
    icons.Count = static_cast<std::int16_t>(count);
    if (count == 0) {
        return;
    }
    const QPoint screen = ScreenPixels(state);
    icons.ScreenWidth = screen.x();
    icons.ScreenHeight = screen.y();
    icons.Positions.assign(static_cast<std::size_t>(count), QPoint());
    for (int i = 0; i < count; ++i) {
        icons.Positions[static_cast<std::size_t>(i)] = shell.ItemPosition(icons.IconList, i);
    }
}

void SaveIconPositions(CalendarState& state) {
    if (state.Icons.Count == 0) {
        ReadIconPositions(state);
    }
    const DesktopIcons& icons = state.Icons;
    if (icons.Count == 0) {
        return;
    }
    QString text = QStringLiteral("%1\t%2\r\n").arg(icons.ScreenWidth).arg(icons.ScreenHeight);
    for (const QPoint& p : icons.Positions) {
        text += QStringLiteral("%1\t%2\r\n").arg(p.x()).arg(p.y());
    }
    WriteFileAtomically(IconFile(state), text.toUtf8(), nullptr);  // a failure ends the save quietly
}

void RestoreIconPositions(CalendarState& state) {
    const DesktopIcons& icons = state.Icons;
    for (int i = 0; i < icons.Count && i < static_cast<int>(icons.Positions.size()); ++i) {
        state.Sys.Shell.SetItemPosition(icons.IconList, i, icons.Positions[static_cast<std::size_t>(i)]);
    }
    ToggleArrangeIfItWasOn(state);
}

void RestoreIconPositionsFromFile(CalendarState& state) {
    if (state.Icons.Count == 0) {
        ReadIconPositions(state);
    }
    DesktopIcons& icons = state.Icons;
    if (icons.Count == 0) {
        return;
    }
    const QPoint screen = ScreenPixels(state);
    icons.ScreenWidth = screen.x();
    icons.ScreenHeight = screen.y();
    auto text = ReadTextFile(IconFile(state));
    if (!text) {
        return;
    }
    bool first = true;
    float widthFactor = 0;
    float heightFactor = 0;
    int item = 0;
    for (const QString& line : SplitLines(*text)) {
        auto numbers = CountingLine(line);
        if (!numbers) {
            continue;
        }
        const auto [a, b] = *numbers;
        if (first) {
            // A saved screen of 0 pixels gives no factor (the original stops with an error).
            if (a == 0 || b == 0) {
                break;
            }
            widthFactor = static_cast<float>(icons.ScreenWidth) / static_cast<float>(a);
            heightFactor = static_cast<float>(icons.ScreenHeight) / static_cast<float>(b);
            first = false;
            continue;
        }
        if (item >= icons.Count) {
            break;  // more lines than icons: the rest are left out
        }
        const QPoint position(static_cast<int>(std::trunc(static_cast<float>(a) * widthFactor)),
                              static_cast<int>(std::trunc(static_cast<float>(b) * heightFactor)));
        state.Sys.Shell.SetItemPosition(icons.IconList, item, position);
        ++item;
    }
    ToggleArrangeIfItWasOn(state);
}

QString DeleteLinkedFiles(CalendarState& state, const QString& themeFile) {
    const QString host = HostPath(state.Sys.Home, themeFile);
    QFile file(host);
    if (host.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Could not open:\r\n   ") + themeFile + QStringLiteral("\r\n\r\n") +
               file.errorString();
    }
    const QString folder = FolderOf(themeFile);
    const QStringList lines = SplitLines(DecodeText(file.readAll()));
    file.close();
    for (const QString& line : lines) {
        const int equals = static_cast<int>(line.indexOf(u'='));
        if (equals < 0 || equals == line.size() - 1) {
            continue;
        }
        const QString raw = line.mid(equals + 1);
        if (!raw.startsWith(u'%') && !raw.contains(u'\\')) {
            continue;
        }
        const QString value = ExpandThemePath(raw, folder, state.WindowsDir, state.SystemDir);
        const QString linked = HostPath(state.Sys.Home, value);
        // Only what lies directly in the Windows folder (of the home) is the theme's to take along.
        if (!SameHostPath(state.Sys.Home, FolderOf(value), state.WindowsDir) || !QFileInfo(linked).isFile()) {
            continue;
        }
        QFile doomed(linked);
        if (!doomed.remove()) {
            return QStringLiteral("Could not delete link file:\r\n   ") + value + QStringLiteral("\r\n\r\n") +
                   doomed.errorString();
        }
    }
    return QString();
}

}  // namespace merivane
