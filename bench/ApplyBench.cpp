// A whole change to a 4000 x 3000 JPEG wallpaper: the decision, the working copy, the
// wallpaper theme, the 24-bit bitmap and the desktop call (to a recording adapter), beside
// ImageMagick's convert of the same picture to BMP in the same run.
#include "apply/ApplyDriver.h"
#include "platform/Paths.h"
#include "selection/Choice.h"
#include "settings/Settings.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <benchmark/benchmark.h>

namespace merivane {
namespace {

QString BigPicture(const test::TestPlatform& sys) {
    static QString path;
    if (path.isEmpty() || !QFile::exists(path)) {
        QDir().mkpath(sys.Scratch("Pictures"));
        path = sys.Scratch("Pictures/Christmas Snow.jpg");
        QImage image(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                line[x] = qRgb((x * 255) / 4000, (y * 255) / 3000, (x ^ y) & 0xFF);
            }
        }
        image.save(path, "JPG", 90);
    }
    return path;
}

void ChangeNowToALargeJpeg(benchmark::State& state) {
    test::TestPlatform sys;
    SelectionState program(sys.Get());
    program.AppPath = sys.Home().Home;
    program.WindowsDir = sys.Home().WindowsDir;
    program.SystemDir = sys.Home().SystemDir;
    program.ThemeOpenCommand = "(none)";
    LoadSettings(program);
    program.Setup.FilesToUse = 1;
    program.Setup.WallpaperPath = FolderOf(BigPicture(sys));
    program.Setup.UseThemeMgrSettings.fill(true);
    sys.clock.now = *SerialFromYmd(2026, 12, 20) + 0.4;
    for (auto _ : state) {
        program.ResetCatalogue();
        CheckAndChange(program, false);
    }
    state.counters["desktop_calls"] = static_cast<double>(sys.system.calls.size());
}
BENCHMARK(ChangeNowToALargeJpeg)->Unit(benchmark::kMillisecond)->Iterations(5);

void ImageMagickConvertToBmp(benchmark::State& state) {
    test::TestPlatform sys;
    const QString picture = BigPicture(sys);
    if (!QFile::exists("/usr/bin/convert")) {
        state.SkipWithError("ImageMagick is not installed (apt-get install imagemagick)");
        return;
    }
    for (auto _ : state) {
        QProcess convert;
        convert.start("/usr/bin/convert", {picture, sys.Scratch("out.bmp")});
        convert.waitForFinished(-1);
    }
}
BENCHMARK(ImageMagickConvertToBmp)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace merivane
