#include "apply/OtherPicture.h"

#include "apply/ThemeValues.h"
#include "apply/WallpaperTheme.h"
#include "calendar/TimeWords.h"
#include "platform/FolderListing.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>

#include <algorithm>

namespace merivane {

namespace {

constexpr int kTries = 5;
constexpr int kSizeSlack = 5;
const QStringList kPictureExtensions{QStringLiteral(".bmp"), QStringLiteral(".gif"), QStringLiteral(".jpg"),
                                     QStringLiteral(".jpeg")};

void RemoveAt(QStringList& list, int i) {
    list[i] = list.back();
    list.removeLast();
}

QString HostFolder(const CalendarState& state, const QString& folder) {
    QString host = HostPath(state.Sys.Home, folder);
    return host.isEmpty() ? QString() : WithTrailingSeparator(host).toLower();
}

}  // namespace

void DropSpecialPictures(QStringList& pictures, const QString& themeFile) {
    const std::pair<const char*, const char*> special[] = {
        {"Logos", "Startup"},      {"Logos", "Shutdown"},     {"Logos", "Wait"},
        {"Webview", "WVLEFT.BMP"}, {"Webview", "WVLINE.GIF"}, {"Webview", "WVLOGO.GIF"},
    };
    for (const auto& [section, key] : special) {
        QString value =
            CutAtNul(ProfileFile::ReadString(themeFile, QString::fromLatin1(section),
                                             QString::fromLatin1(key), QString(), kThemePictureBuffer));
        if (value.isEmpty()) {
            continue;
        }
        const QString name = FileNameOf(value).toLower();
        for (int i = 0; i < pictures.size(); ++i) {
            if (pictures[i].toLower() == name) {
                RemoveAt(pictures, i);
                break;
            }
        }
    }
    for (int i = 0; i < pictures.size();) {
        QString lower = pictures[i].toLower();
        if (lower.contains(QLatin1String("wvleft")) || lower.contains(QLatin1String("wvline")) ||
            lower.contains(QLatin1String("wvlogo"))) {
            RemoveAt(pictures, i);
        } else {
            ++i;
        }
    }
}

void FilterPicturesByTime(const CalendarState& state, QStringList& pictures) {
    if (state.Setup.ChangesPerDay < 2 || !state.Setup.UseTimeInTitle) {
        return;
    }
    const int hour = SecondsOfDay(state.Sys.Time.Now()) / 3600;
    for (int i = 0; i < pictures.size();) {
        if (!MatchesTimeOfDay(pictures[i], hour)) {
            RemoveAt(pictures, i);
        } else {
            ++i;
        }
    }
}

std::int16_t PickOtherPicture(CalendarState& state, const ChangeRecord& workingCopy,
                              const QString& chosenFolder) {
    const Screen& screen = state.Sys.Display;
    const int screenWidth = screen.WidthTwips() / screen.TwipsPerPixel();
    const int screenHeight = screen.HeightTwips() / screen.TwipsPerPixel();
    const QString themeFile = HostPath(state.Sys.Home, workingCopy.FileName);
    const QString themeFolder = chosenFolder.isEmpty() ? FolderOf(workingCopy.FileName) : chosenFolder;
    if (ReadThemeValue(themeFile, kDesktopSection, QStringLiteral("TileWallpaper")).startsWith(u'1')) {
        return 1;
    }
    const QString wallpaper = ExpandThemePath(
        ReadThemeValue(themeFile, kDesktopSection, QStringLiteral("Wallpaper"), kThemePictureBuffer),
        themeFolder, state.WindowsDir, state.SystemDir);
    const QString pictureFolder = FolderOf(wallpaper);
    const QString pictureName = FileNameOf(wallpaper);
    const QString hostPictures = HostFolder(state, pictureFolder);
    if (pictureName.toLower().contains(QLatin1String(".htm")) || hostPictures.isEmpty() ||
        hostPictures == HostFolder(state, state.Setup.ThemePath) ||
        !hostPictures.startsWith(HostFolder(state, themeFolder)) ||
        !QFileInfo(HostPath(state.Sys.Home, pictureFolder)).isDir()) {
        return 1;
    }
    auto listing = ListFolder(HostPath(state.Sys.Home, pictureFolder));
    QStringList pictures;
    for (const QString& name : listing ? listing->Files : QStringList()) {
        if (HasExtension(name, kPictureExtensions)) {
            pictures << name;
        }
    }
    if (pictures.isEmpty()) {
        return 1;
    }
    DropSpecialPictures(pictures, themeFile);
    const auto count = static_cast<std::int16_t>(std::min<qsizetype>(pictures.size(), 32767));
    if (count < 1) {
        return count;
    }
    FilterPicturesByTime(state, pictures);
    if (pictures.isEmpty()) {
        return count;
    }
    QString chosen;
    QSize picture;
    if (pictures.size() == 1) {
        chosen = pictures[0];
    } else {
        for (int tries = 0; tries < kTries && chosen.isEmpty(); ++tries) {
            int index = std::clamp(static_cast<int>(state.Sys.Rng.Next() * pictures.size()), 0,
                                   static_cast<int>(pictures.size()) - 1);
            // Measured from the header: a picture that does not read has no valid size.
            QSize candidate = PictureSize(HostPath(state.Sys.Home, pictureFolder + pictures[index]));
            if (candidate.isValid() && candidate.width() + kSizeSlack >= screenWidth &&
                candidate.height() + kSizeSlack >= screenHeight) {
                chosen = pictures[index];
                picture = candidate;
            } else {
                RemoveAt(pictures, index);
                if (pictures.isEmpty()) {
                    return count;
                }
            }
        }
        if (chosen.isEmpty()) {
            return count;
        }
    }
    const QString base = state.Setup.UseThemeSubfolders ? themeFolder : state.Setup.ThemePath;
    QString value = pictureFolder.toLower() + chosen;
    if (!base.isEmpty()) {
        value.replace(base.toLower(), QStringLiteral("%ThemeDir%"));
    }
    ProfileFile::WriteString(themeFile, kDesktopSection, QStringLiteral("Wallpaper"), value);
    if (!picture.isValid()) {
        picture = PictureSize(HostPath(state.Sys.Home, pictureFolder + chosen));
    }
    ChooseWallpaperStyle(state, static_cast<qint64>(picture.width()) * screen.TwipsPerPixel(),
                         static_cast<qint64>(picture.height()) * screen.TwipsPerPixel(), themeFile);
    return count;
}

}  // namespace merivane
