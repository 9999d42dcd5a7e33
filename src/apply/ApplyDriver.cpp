#include "apply/ApplyDriver.h"

#include "apply/Effects.h"
#include "apply/OtherPicture.h"
#include "apply/ThemeManagers.h"
#include "apply/WallpaperTheme.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/ScopedFlag.h"
#include "settings/Settings.h"

#include <QFile>

namespace merivane {

namespace {
constexpr int kWindows98 = 2;
constexpr int kTurnTries = 600;  // a minute, in steps of 100 ms
constexpr int kTurnPauseMs = 100;

QString LockFile(const CalendarState& state) {
    return state.Sys.Home.Home + QStringLiteral("change.lock");
}

QString NotesFolder(const CalendarState& state) {
    return state.Sys.Home.Home + QStringLiteral("working/");
}

// The copy of the chosen file that the change works on, and the folder that its
// %ThemeDir% means: the chosen file's own, wherever the copy could be made.
struct WorkingCopy {
    QString Path;
    QString ThemeFolder;
};

// Beside the chosen file when its folder can be written, else in the home (system theme
// and wallpaper folders are read-only). Nothing when the file cannot be copied at all.
std::optional<WorkingCopy> MakeWorkingCopy(CalendarState& state, const QString& chosen) {
    const QString source = HostPath(state.Sys.Home, chosen);
    if (source.isEmpty() || !QFile::exists(source)) {
        return std::nullopt;
    }
    const QString folder = FolderOf(source);
    for (const QString& place : {folder, state.Sys.Home.Home}) {
        const QString path = place + WorkingCopyName();
        if (!NoteWorkingCopy(NotesFolder(state), path)) {
            return std::nullopt;
        }
        QFile::remove(path);  // our own, from an earlier change of this process
        if (QFile::copy(source, path)) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return WorkingCopy{path, folder};
        }
        RemoveWorkingCopy(NotesFolder(state), path);
    }
    return std::nullopt;
}

}  // namespace

ChangeTurn::ChangeTurn(CalendarState& state) : m_state(state) {
    if (state.HoldsChangeTurn) {
        m_granted = true;  // the outer turn of this process holds it
        return;
    }
    m_lock = ChangeLock::Acquire(LockFile(state), state.Sys.Events, kTurnTries, kTurnPauseMs);
    m_granted = m_lock != nullptr;
    if (m_granted) {
        state.HoldsChangeTurn = true;
        RefreshStatistics(state);
    }
}

ChangeTurn::~ChangeTurn() {
    if (m_lock) {
        m_state.HoldsChangeTurn = false;
    }
}

ApplyResult ApplyChange(CalendarState& state, const ChangeRecord& record, bool showProgress) {
    if (state.ApplyInProgress) {
        // One change at a time: two would share the working copy.
        if (showProgress && state.Status != nullptr) {
            state.Status->ShowStatus(QStringLiteral("A change is still running; this one was skipped."));
        }
        return {false, QStringLiteral("a change is still running; this one was skipped")};
    }
    ScopedFlag running(state.ApplyInProgress);
    ChangeTurn turn(state);
    if (!turn.Granted()) {
        return {false, QStringLiteral("another change of this home did not end within a minute; this one was "
                                      "skipped")};
    }
    state.ApplyProblems.clear();
    RecordChange(state, record);
    SaveSettings(state, true, false, false);

    ClearStaleWorkingCopies(NotesFolder(state));
    const auto made = MakeWorkingCopy(state, record.FileName);
    if (!made) {
        // A theme that cannot be copied cannot hold several wallpapers today.
        state.LastChange.WallpapersInTheme = 1;
        SaveSettings(state, true, false, false);
        return {false, QStringLiteral("%1 could not be copied to a working copy; nothing was applied")
                           .arg(record.FileName)};
    }
    ChangeRecord copy = record;
    copy.FileName = made->Path;

    std::int16_t wallpapers = 1;
    bool readable = true;
    if (record.IsTheme) {
        if (state.Setup.UseOtherPics) {
            wallpapers = PickOtherPicture(state, copy, made->ThemeFolder);
        }
    } else {
        readable = PrepareWallpaperTheme(state, copy);
    }
    state.LastChange.WallpapersInTheme = wallpapers;
    SaveSettings(state, true, false, false);
    if (!readable) {
        RemoveWorkingCopy(NotesFolder(state), made->Path);
        return {false, QStringLiteral("%1 cannot be read as a picture; the desktop keeps its picture")
                           .arg(record.FileName)};
    }

    const AppSettings& setup = state.Setup;
    if (setup.AutoMouseMove) {
        if (state.WindowsVersion >= kWindows98) {
            if (state.Sys.System.ParametersInfo(SystemSettings::kGetScreenSaverRunning, 0, QString(), {},
                                                0) != 0) {
                NudgeMouse(state);
            }
        } else {
            NudgeMouse(state);
        }
    }
    if (state.LastChange.FileName != state.PreviousChange.FileName) {
        if (setup.PlayChangeSounds) {
            PlayStartupSound(state, copy, made->ThemeFolder);
        }
        if (setup.ShowChangeLogo) {
            ShowStartupLogo(state, true, copy, made->ThemeFolder);
        }
    }
    if (setup.KeepIconPositions) {
        ReadIconPositions(state);
        SaveIconPositions(state);
    }
    RunThemeChange(state, copy, showProgress, made->ThemeFolder);
    if (setup.ShowChangeLogo) {
        ShowStartupLogo(state, false, copy, made->ThemeFolder);
    }
    if (setup.KeepIconPositions) {
        RestoreIconPositions(state);
    }
    RemoveWorkingCopy(NotesFolder(state), made->Path);
    return {state.ApplyProblems.isEmpty(), state.ApplyProblems.join(QStringLiteral("; "))};
}

}  // namespace merivane
