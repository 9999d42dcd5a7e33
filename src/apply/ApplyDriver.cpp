#include "apply/ApplyDriver.h"

#include "platform/ScopedFlag.h"

#include "apply/Effects.h"
#include "apply/OtherPicture.h"
#include "apply/ThemeManagers.h"
#include "apply/WallpaperTheme.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "settings/Settings.h"

#include <QFile>

namespace merivane {

namespace {
constexpr int kWindows98 = 2;

}  // namespace

void ApplyChange(CalendarState& state, const ChangeRecord& record, bool showProgress) {
    if (state.ApplyInProgress) {
        // One change at a time: two would share the working copy.
        if (showProgress && state.Status != nullptr) {
            state.Status->ShowStatus(QStringLiteral("A change is still running; this one was skipped."));
        }
        return;
    }
    ScopedFlag running(state.ApplyInProgress);
    RecordChange(state, record);
    SaveSettings(state, true, false, false);

    ChangeRecord copy = record;
    copy.FileName = FolderOf(record.FileName) + QStringLiteral("temp.theme");
    const QString hostCopy = HostPath(state.Sys.Home, copy.FileName);
    QFile::remove(hostCopy);
    if (hostCopy.isEmpty() || !QFile::copy(HostPath(state.Sys.Home, record.FileName), hostCopy)) {
        state.Sys.Con.Err(QStringLiteral("merivane: %1 could not be copied to %2; nothing was applied.\n")
                              .arg(record.FileName, copy.FileName));
        return;
    }
    QFile::setPermissions(hostCopy, QFile::permissions(hostCopy) | QFileDevice::WriteOwner);

    std::int16_t wallpapers = 1;
    if (record.IsTheme) {
        if (state.Setup.UseOtherPics) {
            wallpapers = PickOtherPicture(state, copy);
        }
    } else {
        PrepareWallpaperTheme(state, copy);
    }
    state.LastChange.WallpapersInTheme = wallpapers;
    SaveSettings(state, true, false, false);

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
            PlayStartupSound(state, copy);
        }
        if (setup.ShowChangeLogo) {
            ShowStartupLogo(state, true, copy);
        }
    }
    if (setup.KeepIconPositions) {
        ReadIconPositions(state);
        SaveIconPositions(state);
    }
    RunThemeChange(state, copy, showProgress);
    if (setup.ShowChangeLogo) {
        ShowStartupLogo(state, false, copy);
    }
    if (setup.KeepIconPositions) {
        RestoreIconPositions(state);
    }
    QFile::remove(hostCopy);
}

}  // namespace merivane
