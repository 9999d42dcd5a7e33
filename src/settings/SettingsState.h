#pragma once

#include "platform/Platform.h"
#include "platform/StatusSink.h"
#include "settings/ChangeRecord.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace merivane {

inline constexpr int kThemeMgrSettingCount = 9;

// The Setup values, one member per registry value of the Setup key.
struct AppSettings {
    QString ThemePath;
    bool UseThemeSubfolders = false;
    QString WallpaperPath;
    bool UseWallpaperSubfolders = false;
    bool ShowSubfolders = false;
    bool UseRandomMethod = false;
    std::int16_t FilesToUse = 0;
    bool UseOtherPics = false;
    bool UseYearInTitle = false;
    std::int16_t TypeOfScheduling = 0;
    SerialDate ScheduledTime = 0;
    std::int16_t ChangesPerDay = 0;
    bool SouthernHemisphere = false;
    bool AutoMouseMove = false;
    bool PlayChangeSounds = false;
    bool ShowChangeLogo = false;
    bool UseTimeInTitle = false;
    std::int16_t UseThemeChanger = 0;
    bool KeepThemeIfMultiPaper = false;
    bool DiscardBadResolutions = false;
    bool KeepRowVisible = false;
    bool KeepIconPositions = false;
    bool UseFavorites = false;
    bool ExpertMode = false;
    std::array<bool, kThemeMgrSettingCount> UseThemeMgrSettings{};
    // A change also makes the theme's event sounds the desktop's sound theme.
    bool UseDesktopSoundTheme = false;

    bool operator==(const AppSettings&) const = default;
};

// The setup window's place and size, in twips.
struct WindowPosition {
    float Top = 0;
    float Left = 0;
    float Height = 0;
    float Width = 0;
};

// The program-wide state that the settings layer and everything above it share: the
// start-up globals, the settings and the statistics. The program object of the layers
// above extends it, so procedures of this layer can work on it without seeing them.
struct SettingsState {
    explicit SettingsState(Platform& platform) : Sys(platform) {}
    SettingsState(const SettingsState&) = delete;
    SettingsState& operator=(const SettingsState&) = delete;

    Platform& Sys;
    // The setup window's status line while the window is open.
    StatusSink* Status = nullptr;
    // Says `text` there, when the window is open.
    void ShowStatus(const QString& text) const {
        if (Status != nullptr) {
            Status->ShowStatus(text);
        }
    }

    // Start-up globals. Folders end in a separator.
    QString AppPath;
    QString WindowsDir;
    QString SystemDir;
    int WindowsVersion = 5;
    QString ThemeFileType;
    QString ThemeOpenCommand;
    QString TextViewerCommand;

    AppSettings Setup;
    SerialDate InstallDate = 0;
    std::int32_t TotalThemeChanges = 0;
    ChangeRecord LastChange;
    ChangeRecord PreviousChange;
    // The store's TotalThemeChanges as this process last read or wrote it: when the store
    // holds another, a process of the same home has changed since.
    std::int32_t TotalThemeChangesSeen = -1;
    WindowPosition Position;
    // What went wrong while the current change was applied, for the one who asked for it.
    QStringList ApplyProblems;
};

}  // namespace merivane
