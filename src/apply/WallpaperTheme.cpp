#include "apply/WallpaperTheme.h"

#include "platform/HostPath.h"
#include "platform/ProfileFile.h"
#include "platform/TextFile.h"
#include "settings/RegOp.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <cmath>

namespace merivane {

namespace {

const char* const kTemplate[] = {
    "[Info]",
    ";This Theme was created by Merivane to change wallpaper.",
    "",
    "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]",
    "DefaultValue=%WinDir%SYSTEM\\COOL.DLL,16",
    "",
    "[CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon]",
    "DefaultValue=%WinDir%SYSTEM\\COOL.DLL,17",
    "",
    "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]",
    "full=%WinDir%SYSTEM\\COOL.DLL,21",
    "empty=%WinDir%SYSTEM\\COOL.DLL,20",
    "",
    "[Control Panel\\Colors]",
    "ActiveTitle=0 0 128",
    "Background=0 128 128",
    "Hilight=0 0 128",
    "HilightText=255 255 255",
    "TitleText=255 255 255",
    "Window=255 255 255",
    "WindowText=0 0 0",
    "Scrollbar=192 192 192",
    "InactiveTitle=128 128 128",
    "Menu=192 192 192",
    "WindowFrame=0 0 0",
    "MenuText=0 0 0",
    "ActiveBorder=192 192 192",
    "InactiveBorder=192 192 192",
    "AppWorkspace=128 128 128",
    "ButtonFace=192 192 192",
    "ButtonShadow=128 128 128",
    "GrayText=128 128 128",
    "ButtonText=0 0 0",
    "InactiveTitleText=192 192 192",
    "ButtonHilight=255 255 255",
    "ButtonDkShadow=0 0 0",
    "ButtonLight=192 192 192",
    "InfoText=0 0 0",
    "InfoWindow=255 255 225",
    "",
    "[Control Panel\\Cursors]",
    "Arrow=",
    "Help=",
    "AppStarting=",
    "Wait=",
    "NWPen=",
    "No=",
    "SizeNS=",
    "SizeWE=",
    "Crosshair=",
    "IBeam=",
    "SizeNWSE=",
    "SizeNESW=",
    "SizeAll=",
    "UpArrow=",
    "DefaultValue=Windows default",
    "",
    "[Control Panel\\Desktop]",
    "Wallpaper=",
    "TileWallpaper = 0",
    "WallpaperStyle = 0",
    "Pattern = (None)",
    "ScreenSaveActive = 0",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\.Default\\.Current]",
    "DefaultValue=%WinDir%media\\ding.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\AppGPFault\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\Maximize\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\MenuCommand\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\MenuPopup\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\Minimize\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\Open\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\RestoreDown\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\RestoreUp\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\RingIn\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\Ringout\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\.Current]",
    "DefaultValue=%WinDir%media\\chord.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemDefault\\.Current]",
    "DefaultValue=",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemExclamation\\.Current]",
    "DefaultValue=%WinDir%media\\chord.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemExit\\.Current]",
    "DefaultValue=%WinDir%media\\tada.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemHand\\.Current]",
    "DefaultValue=%WinDir%media\\chord.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemQuestion\\.Current]",
    "DefaultValue=%WinDir%media\\chord.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]",
    "DefaultValue=%WinDir%media\\The Microsoft Sound.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current]",
    "DefaultValue=%WinDir%media\\ding.wav",
    "",
    "[AppEvents\\Schemes\\Apps\\.Default\\Close\\.Current]",
    "DefaultValue=",
    "",
    "[Control Panel\\Desktop\\WindowMetrics]",
    "",
    "[Metrics]",
    "IconMetrics=76 0 0 0 75 0 0 0 75 0 0 0 0 0 0 0 248 255 255 255 0 0 0 0 0 0 0 0 0 0 0 0 144 1 0 0 0 0 0 "
    "0 0 0 0 0 "
    "77 83 32 83 97 110 115 32 83 101 114 105 102 0 2 0 0 0 2 0 15 6 0 0 0 0 151 17 63 1 243 21",
    "NonclientMetrics=84 1 0 0 1 0 0 0 13 0 0 0 13 0 0 0 18 0 0 0 18 0 0 0 245 255 255 255 0 0 0 0 0 0 0 0 0 "
    "0 0 0 188 "
    "2 0 0 0 0 0 0 0 0 0 0 77 83 32 83 97 110 115 32 83 101 114 105 102 0 46 84 104 101 109 101 0 245 64 0 "
    "192 221 64 "
    "0 0 0 0 0 15 0 0 0 15 0 0 0 248 255 255 255 0 0 0 0 0 0 0 0 0 0 0 0 188 2 0 0 0 0 0 0 0 0 0 0 77 83 32 "
    "83 97 110 "
    "115 32 83 101 114 105 102 0 46 84 104 101 109 101 0 245 64 0 192 221 64 0 0 0 0 0 18 0 0 0 18 0 0 0 245 "
    "255 255 "
    "255 0 0 0 0 0 0 0 0 0 0 0 0 144 1 0 0 0 0 0 0 0 0 0 0 77 83 32 83 97 110 115 32 83 101 114 105 102 0 46 "
    "84 104 "
    "101 109 101 0 245 64 0 192 221 64 0 0 0 0 0 245 255 255 255 0 0 0 0 0 0 0 0 0 0 0 0 144 1 0 0 0 0 0 0 0 "
    "0 0 0 77 "
    "83 32 83 97 110 115 32 83 101 114 105 102 0 46 84 104 101 109 101 0 245 64 0 192 221 64 0 0 0 0 0 245 "
    "255 255 "
    "255 0 0 0 0 0 0 0 0 0 0 0 0 144 1 0 0 0 0 0 0 0 0 0 0 77 83 32 83 97 110 115 32 83 101 114 105 102 0 46 "
    "84 104 "
    "101 109 101 0 245 64 0 192 221 64 0 0 0 0 0",
    "",
    "[boot]",
    "SCRNSAVE.EXE=",
    "",
    "[MasterThemeSelector]",
    "MTSM = DABJDKT",
    "ThemeColorBPP = 4",
};

qint64 Twips(const SettingsState& state, int pixels) {
    return static_cast<qint64>(pixels) * state.Sys.Display.TwipsPerPixel();
}

}  // namespace

QString WallpaperThemePath(const SettingsState& state) {
    // File names match without regard to case, as on Windows.
    return HostPath(state.Sys.Home, state.AppPath + kWallpaperThemeFileName);
}

QImage LoadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QSize PictureSize(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.canRead() ? reader.size() : QSize();
    // A picture whose decoded form passes the reader's limit would load as nothing.
    const qint64 limitBytes = static_cast<qint64>(QImageReader::allocationLimit()) * 1024 * 1024;
    if (!size.isValid() || (limitBytes > 0 && qint64(size.width()) * size.height() * 4 > limitBytes)) {
        return QSize();
    }
    return size;
}

void WriteWallpaperThemeTemplate(const QString& path) {
    QByteArray text;
    for (const char* line : kTemplate) {
        text += line;
        text += "\r\n";
    }
    WriteFileAtomically(path, text, nullptr);
}

void ChooseWallpaperStyle(const SettingsState& state, qint64 widthTwips, qint64 heightTwips,
                          const QString& themeFile) {
    const double sw = state.Sys.Display.WidthTwips();
    const double sh = state.Sys.Display.HeightTwips();
    const double w = static_cast<double>(widthTwips);
    const double h = static_cast<double>(heightTwips);
    const float d =
        h > 0 && sh > 0 ? std::fabs(static_cast<float>(sw / sh) - static_cast<float>(w / h)) : 0.0f;
    QString tile = QStringLiteral("0");
    QString style = QStringLiteral("0");
    if (w <= sw / 2.95 && h <= sh / 1.75) {
        tile = QStringLiteral("1");
    } else if (h > sh || w > sw || d <= 0.35f) {
        style = QStringLiteral("1");
    }
    ProfileFile::WriteString(themeFile, kDesktopSection, QStringLiteral("TileWallpaper"), tile);
    ProfileFile::WriteString(themeFile, kDesktopSection, QStringLiteral("WallpaperStyle"), style);
}

bool PrepareWallpaperTheme(SettingsState& state, const ChangeRecord& workingCopy) {
    const QString theme = WallpaperThemePath(state);
    if (!QFileInfo::exists(theme)) {
        WriteWallpaperThemeTemplate(theme);
    }
    // Only the size is needed here: the header tells it without decoding the picture.
    const QSize size = PictureSize(HostPath(state.Sys.Home, workingCopy.FileName));
    if (!size.isValid()) {
        return false;
    }
    ProfileFile::WriteString(theme, kDesktopSection, QStringLiteral("Wallpaper"), workingCopy.FileName);
    ChooseWallpaperStyle(state, Twips(state, size.width()), Twips(state, size.height()), theme);
    return true;
}

QString ConvertedWallpaperPath(SettingsState& state) {
    RegOp logon(state.Sys);
    logon.SetRoot(RegRoot::LocalMachine);
    logon.SetKey(QStringLiteral("Network\\Logon"));
    QString user = logon.Value(QStringLiteral("username")).ToText().trimmed();
    return state.WindowsDir + QStringLiteral("Theme ") + (user.isEmpty() ? QStringLiteral("User") : user) +
           QStringLiteral(".bmp");
}

QString ConvertWallpaper(SettingsState& state, QString wallpaper, QString& tiling, QString& style) {
    QString source = HostPath(state.Sys.Home, wallpaper);
    if (!wallpaper.isEmpty() && (source.isEmpty() || !QFileInfo(source).isFile())) {
        wallpaper.clear();
    }
    QString result;
    QImage picture;
    if (!wallpaper.isEmpty()) {
        result = ConvertedWallpaperPath(state);
        picture = LoadPicture(source);
        if (picture.isNull()) {
            state.ApplyProblems << QStringLiteral(
                                       "%1 cannot be read as a picture; the desktop keeps its picture")
                                       .arg(wallpaper);
            return result;
        }
        // A 24-bit bitmap (Qt writes one from any picture without alpha), replacing the old
        // one in one step, written straight to the file.
        if (picture.hasAlphaChannel()) {
            picture = picture.convertToFormat(QImage::Format_RGB32);
        }
        QSaveFile file(HostPath(state.Sys.Home, result));
        if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "BMP") || !file.commit()) {
            return result;
        }
    }
    if (!(tiling == QLatin1String("1") && style == QLatin1String("0"))) {
        tiling = QStringLiteral("0");
    }
    if (!picture.isNull() && tiling == QLatin1String("0") && style != QLatin1String("2")) {
        const double sw = state.Sys.Display.WidthTwips();
        const double sh = state.Sys.Display.HeightTwips();
        const double w = static_cast<double>(Twips(state, picture.width()));
        const double h = static_cast<double>(Twips(state, picture.height()));
        if (w > sw && h > sh && std::fabs(w / h - sw / sh) < 0.1) {
            style = QStringLiteral("2");
        }
    }
    return result;
}

}  // namespace merivane
