#include "app/Sample.h"

#include "platform/TextFile.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <functional>

namespace merivane {

namespace {

struct SamplePicture {
    const char* Name;
    QRgb Top;
    QRgb Bottom;
};

// Each picture a gradient in the colours of its season or event.
const SamplePicture kPictures[] = {
    {"Christmas Snow.jpg", 0xff0b3d2e, 0xffe8f1f5},   {"Halloween Night.jpg", 0xff1a0a2e, 0xffe86a10},
    {"Spring Garden.jpg", 0xff8fd694, 0xfff7e1f0},    {"Summer Beach.jpg", 0xff2f8fd8, 0xfff2d59b},
    {"Autumn Leaves.jpg", 0xff7a2e0e, 0xffe0a526},    {"Winter Frost.jpg", 0xff9fb8d0, 0xfff4f8fb},
    {"Valentine Hearts.jpg", 0xffb0103a, 0xfff7c6d4}, {"Easter Meadow.jpg", 0xfff2e86d, 0xff8cc63f},
    {"Hanukkah Lights.jpg", 0xff0d2c6b, 0xfff5d76e},  {"Thanksgiving Harvest.jpg", 0xff8b4513, 0xfff4a460},
    {"Mountain Lake.jpg", 0xff23395b, 0xff8fb9a8},
};

QImage Drawn(const SamplePicture& picture) {
    QImage image(1280, 800, QImage::Format_RGB32);
    const QColor top(picture.Top);
    const QColor bottom(picture.Bottom);
    for (int y = 0; y < image.height(); ++y) {
        double t = static_cast<double>(y) / (image.height() - 1);
        QRgb row = qRgb(static_cast<int>(top.red() + t * (bottom.red() - top.red())),
                        static_cast<int>(top.green() + t * (bottom.green() - top.green())),
                        static_cast<int>(top.blue() + t * (bottom.blue() - top.blue())));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line, line + image.width(), row);
    }
    return image;
}

// Writes one file of the collection unless a file of that name is there already.
void Make(SampleResult& result, const QString& path, const std::function<QByteArray()>& bytes) {
    if (QFileInfo::exists(path)) {
        result.Kept << path;
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    (WriteFileAtomically(path, bytes(), nullptr) ? result.Made : result.Failed) << path;
}

void MakePicture(SampleResult& result, const QString& path, const SamplePicture& picture) {
    Make(result, path, [&] {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        Drawn(picture).save(&buffer, "JPG", 85);
        return jpeg;
    });
}

}  // namespace

SampleResult MakeSampleCollection(const QString& picturesFolder, const QString& themesFolder) {
    SampleResult result;
    for (const SamplePicture& picture : kPictures) {
        MakePicture(result, picturesFolder + u'/' + QString::fromLatin1(picture.Name), picture);
    }
    // A theme with two pictures of its own: each change of it may show the other.
    const QString themeFolder = themesFolder + QStringLiteral("/Christmas Classic");
    const SamplePicture own[] = {{"Christmas Night.jpg", 0xff101a3a, 0xffc0d8f0},
                                 {"Christmas Hearth.jpg", 0xff5a1010, 0xffe8b060}};
    for (const SamplePicture& picture : own) {
        MakePicture(result, themeFolder + u'/' + QString::fromLatin1(picture.Name), picture);
    }
    Make(result, themeFolder + QStringLiteral("/Christmas Classic.theme"), [] {
        return QByteArray(
            "[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Christmas "
            "Night.jpg\r\nTileWallpaper=0\r\nWallpaperStyle=1\r\n"
            "[Control Panel\\Colors]\r\nActiveTitle=128 0 0\r\nBackground=0 64 0\r\n"
            "[MasterThemeSelector]\r\nMTSM=DABJDKT\r\n");
    });
    // A spring theme whose picture lies beside it.
    MakePicture(result, themesFolder + QStringLiteral("/Blossom.jpg"),
                {"Blossom.jpg", 0xfff8c8dc, 0xff6fbf73});
    Make(result, themesFolder + QStringLiteral("/Spring Garden.theme"), [] {
        return QByteArray(
            "[Control Panel\\Desktop]\r\nWallpaper=%ThemeDir%Blossom.jpg\r\nTileWallpaper=0\r\n"
            "WallpaperStyle=2\r\n[Control Panel\\Colors]\r\nActiveTitle=0 96 0\r\n");
    });
    return result;
}

}  // namespace merivane
