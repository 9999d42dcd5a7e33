#include "settings/Settings.h"

#include "settings/Associations.h"
#include "settings/DateText.h"
#include "settings/RegOp.h"

#include <variant>

namespace merivane {

namespace {

// One Setup value: its registry name and where it lives in AppSettings.
struct SetupField {
    const char* Name;
    std::variant<QString AppSettings::*, bool AppSettings::*, std::int16_t AppSettings::*,
                 SerialDate AppSettings::*, std::array<bool, kThemeMgrSettingCount> AppSettings::*>
        Member;
};

// In the order they are saved.
const SetupField kSetupFields[] = {
    {"ThemePath", &AppSettings::ThemePath},
    {"UseThemeSubfolders", &AppSettings::UseThemeSubfolders},
    {"WallpaperPath", &AppSettings::WallpaperPath},
    {"UseWallpaperSubfolders", &AppSettings::UseWallpaperSubfolders},
    {"ShowSubfolders", &AppSettings::ShowSubfolders},
    {"UseRandomMethod", &AppSettings::UseRandomMethod},
    {"FilesToUse", &AppSettings::FilesToUse},
    {"UseOtherPics", &AppSettings::UseOtherPics},
    {"UseYearInTitle", &AppSettings::UseYearInTitle},
    {"TypeOfScheduling", &AppSettings::TypeOfScheduling},
    {"ScheduledTime", &AppSettings::ScheduledTime},
    {"ChangesPerDay", &AppSettings::ChangesPerDay},
    {"SouthernHemisphere", &AppSettings::SouthernHemisphere},
    {"AutoMouseMove", &AppSettings::AutoMouseMove},
    {"PlayChangeSounds", &AppSettings::PlayChangeSounds},
    {"ShowChangeLogo", &AppSettings::ShowChangeLogo},
    {"UseTimeInTitle", &AppSettings::UseTimeInTitle},
    {"UseThemeChanger", &AppSettings::UseThemeChanger},
    {"KeepThemeIfMultiPaper", &AppSettings::KeepThemeIfMultiPaper},
    {"DiscardBadResolutions", &AppSettings::DiscardBadResolutions},
    {"KeepRowVisible", &AppSettings::KeepRowVisible},
    {"KeepIconPositions", &AppSettings::KeepIconPositions},
    {"UseFavorites", &AppSettings::UseFavorites},
    {"ExpertMode", &AppSettings::ExpertMode},
    {"UseThemeMgrSettings", &AppSettings::UseThemeMgrSettings},
    {"UseDesktopSoundTheme", &AppSettings::UseDesktopSoundTheme},
};

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

QString StatsKey() {
    return kAppKey + QStringLiteral("\\Stats");
}
QString SetupKey() {
    return kAppKey + QStringLiteral("\\Setup");
}
QString PositionKey() {
    return kAppKey + QStringLiteral("\\Position");
}

void ReadSetup(RegOp& reg, AppSettings& setup) {
    for (const SetupField& field : kSetupFields) {
        Variant value = reg.Value(QString::fromLatin1(field.Name));
        std::visit(Overloaded{
                       [&](QString AppSettings::*m) { setup.*m = value.ToText(); },
                       [&](bool AppSettings::*m) { setup.*m = value.ToBoolean().value_or(false); },
                       [&](std::int16_t AppSettings::*m) { setup.*m = value.ToInteger().value_or(0); },
                       [&](SerialDate AppSettings::*m) { setup.*m = value.ToDate().value_or(0.0); },
                       [&](std::array<bool, kThemeMgrSettingCount> AppSettings::*m) {
                           setup.*m = ParseThemeMgrSettings(value.ToText());
                       },
                   },
                   field.Member);
    }
}

void WriteSetup(RegOp& reg, const AppSettings& setup) {
    for (const SetupField& field : kSetupFields) {
        Variant value = std::visit(
            Overloaded{
                [&](QString AppSettings::*m) { return Variant::Text(setup.*m); },
                [&](bool AppSettings::*m) { return Variant::Boolean(setup.*m); },
                [&](std::int16_t AppSettings::*m) { return Variant::Integer(setup.*m); },
                [&](SerialDate AppSettings::*m) { return Variant::Text(MediumTimeText(setup.*m)); },
                [&](std::array<bool, kThemeMgrSettingCount> AppSettings::*m) {
                    return Variant::Text(ThemeMgrSettingsText(setup.*m));
                },
            },
            field.Member);
        reg.SetValue(QString::fromLatin1(field.Name), value);
    }
}

QString SingleText(float value) {
    return QString::number(static_cast<double>(value), 'g', 7);
}

}  // namespace

std::array<bool, kThemeMgrSettingCount> ParseThemeMgrSettings(const QString& text) {
    QString padded = (text.toUpper() + QStringLiteral("YYYYYYYYYYYY")).trimmed();
    std::array<bool, kThemeMgrSettingCount> flags{};
    for (int i = 0; i < kThemeMgrSettingCount; ++i) {
        QChar c = padded[i];
        flags[i] = c != u'N' && c != u'0';
    }
    return flags;
}

QString ThemeMgrSettingsText(const std::array<bool, kThemeMgrSettingCount>& flags) {
    QString text;
    for (bool flag : flags) {
        text += flag ? u'Y' : u'N';
    }
    return text;
}

namespace {

std::int32_t StoredTotalThemeChanges(RegOp& reg) {
    reg.SetRoot(RegRoot::LocalMachine);
    reg.SetKey(kAppKey);
    return reg.Value(QStringLiteral("TotalThemeChanges")).ToLong().value_or(0);
}

// The last and previous change as stored; false when there is none yet (a first run).
bool ReadChanges(RegOp& reg, SettingsState& state) {
    reg.SetRoot(RegRoot::CurrentUser);
    reg.SetKey(StatsKey());
    const QString last = reg.Value(QStringLiteral("LastFilenameUsed")).ToText();
    if (last.isEmpty()) {
        return false;
    }
    state.LastChange.FileName = last;
    state.PreviousChange.FileName = reg.Value(QStringLiteral("PreviousFilenameUsed")).ToText();
    state.LastChange.Reason = reg.Value(QStringLiteral("LastChangeReason")).ToText();
    state.PreviousChange.Reason = reg.Value(QStringLiteral("PreviousChangeReason")).ToText();
    state.LastChange.ChangeDate = reg.Value(QStringLiteral("LastChangeDate")).ToDate().value_or(0.0);
    state.PreviousChange.ChangeDate = reg.Value(QStringLiteral("PreviousChangeDate")).ToDate().value_or(0.0);
    state.LastChange.WallpapersInTheme =
        reg.Value(QStringLiteral("WallpapersInTheme")).ToInteger().value_or(0);
    return true;
}

}  // namespace

void LoadSettings(SettingsState& state) {
    RegOp reg(state.Sys);
    reg.SetRoot(RegRoot::LocalMachine);
    reg.SetKey(kAppKey);
    state.InstallDate = reg.Value(QStringLiteral("InstallDate")).ToDate().value_or(0.0);
    if (state.InstallDate == 0) {
        state.InstallDate = state.Sys.Time.Now();
    }
    state.TotalThemeChanges = StoredTotalThemeChanges(reg);
    state.TotalThemeChangesSeen = state.TotalThemeChanges;

    if (!ReadChanges(reg, state)) {
        SetDefaultSettings(state);
        SaveSettings(state, true, true, false);
        return;
    }
    reg.SetRoot(RegRoot::CurrentUser);
    reg.SetKey(SetupKey());
    ReadSetup(reg, state.Setup);
}

void RefreshStatistics(SettingsState& state) {
    RegOp reg(state.Sys);
    const std::int32_t stored = StoredTotalThemeChanges(reg);
    if (stored == state.TotalThemeChangesSeen) {
        return;
    }
    state.TotalThemeChanges = stored;
    state.TotalThemeChangesSeen = stored;
    ReadChanges(reg, state);
}

void SetDefaultSettings(SettingsState& state) {
    state.LastChange.FileName = QStringLiteral("(none)");
    state.PreviousChange.FileName = QStringLiteral("(none)");
    state.LastChange.Reason = QStringLiteral("none");
    state.PreviousChange.Reason = QStringLiteral("none");
    AppSettings& setup = state.Setup;
    setup.ThemePath = FindThemeFolder(state);
    setup.WallpaperPath = state.WindowsDir;
    setup.UseThemeSubfolders = true;
    setup.ShowSubfolders = true;
    setup.UseOtherPics = true;
    setup.UseYearInTitle = true;
    setup.ScheduledTime = 0.5 / 24.0;  // 12:30 AM
    setup.ChangesPerDay = 1;
    setup.UseThemeMgrSettings.fill(true);
}

void SaveSettings(SettingsState& state, bool statistics, bool setup, bool position) {
    // One transaction: a reader in another process sees all of a save or none of it.
    const bool saved = state.Sys.Store.Batch([&] {
        if (statistics) {
            RegOp reg(state.Sys);
            reg.SetRoot(RegRoot::LocalMachine);
            reg.SetKey(kAppKey);
            reg.SetValue(QStringLiteral("InstallDate"), Variant::Date(state.InstallDate));
            reg.SetValue(QStringLiteral("TotalThemeChanges"), Variant::Long(state.TotalThemeChanges));
            reg.SetRoot(RegRoot::CurrentUser);
            reg.SetKey(StatsKey());
            reg.SetValue(QStringLiteral("LastFilenameUsed"), Variant::Text(state.LastChange.FileName));
            reg.SetValue(QStringLiteral("PreviousFilenameUsed"),
                         Variant::Text(state.PreviousChange.FileName));
            reg.SetValue(QStringLiteral("LastChangeReason"), Variant::Text(state.LastChange.Reason));
            reg.SetValue(QStringLiteral("PreviousChangeReason"), Variant::Text(state.PreviousChange.Reason));
            reg.SetValue(QStringLiteral("LastChangeDate"), Variant::Date(state.LastChange.ChangeDate));
            reg.SetValue(QStringLiteral("PreviousChangeDate"),
                         Variant::Date(state.PreviousChange.ChangeDate));
            reg.SetValue(QStringLiteral("WallpapersInTheme"),
                         Variant::Integer(state.LastChange.WallpapersInTheme));
        }
        if (setup) {
            RegOp reg(state.Sys);
            reg.SetKey(SetupKey());
            WriteSetup(reg, state.Setup);
        }
        if (position) {
            RegOp reg(state.Sys);
            reg.SetKey(PositionKey());
            reg.SetValue(QStringLiteral("Top"), Variant::Text(SingleText(state.Position.Top)));
            reg.SetValue(QStringLiteral("Left"), Variant::Text(SingleText(state.Position.Left)));
            reg.SetValue(QStringLiteral("Height"), Variant::Text(SingleText(state.Position.Height)));
            reg.SetValue(QStringLiteral("Width"), Variant::Text(SingleText(state.Position.Width)));
        }
        return true;
    });
    if (saved && statistics) {
        state.TotalThemeChangesSeen = state.TotalThemeChanges;
    }
}

void RecordChange(SettingsState& state, const ChangeRecord& record) {
    state.PreviousChange = state.LastChange;
    state.LastChange = record;
    state.LastChange.ChangeDate = state.Sys.Time.Now();
    ++state.TotalThemeChanges;
}

void DeleteSettings(SettingsState& state) {
    RegOp reg(state.Sys);
    reg.SetRoot(RegRoot::CurrentUser);
    reg.SetKey(kAppKey);
    reg.DeleteKey();
}

}  // namespace merivane
