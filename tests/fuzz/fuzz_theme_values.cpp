// Theme values: token expansion and reading values from theme files of any content.
#include "FuzzSupport.h"

#include "apply/ThemeValues.h"

#include <QFile>
#include <QTemporaryDir>

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString theme = QStringLiteral("/themes/T/");
    const QString windows = QStringLiteral("/h/drive_c/WINDOWS/");
    const QString system = windows + QStringLiteral("SYSTEM/");
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString value = QString::fromUtf8(bytes.left(2048));
    const QString expanded = ExpandThemePath(value, theme, windows, system);
    // Nothing grows but by one folder; no doubled backslash pair survives untouched.
    FUZZ_CHECK(expanded.size() <= value.size() + windows.size() + system.size());
    for (const auto& [token, folder] :
         {std::pair{QStringLiteral("%themedir%"), theme}, std::pair{QStringLiteral("%windir%"), windows},
          std::pair{QStringLiteral("%sysdir%"), system}}) {
        if (value.startsWith(token, Qt::CaseInsensitive) && !value.contains(QChar(0))) {
            FUZZ_CHECK(expanded.startsWith(folder));
            break;
        }
    }
    const QString file = dir.path() + QStringLiteral("/fuzz.theme");
    {
        QFile out(file);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(bytes);
    }
    for (int buffer : {kThemeValueBuffer, kThemePictureBuffer, kThemeMetricsBuffer}) {
        QString read = ReadThemeValue(file, QStringLiteral("Control Panel\\Desktop"),
                                      QStringLiteral("Wallpaper"), buffer);
        FUZZ_CHECK(read.size() < buffer);
        FUZZ_CHECK(read == read.trimmed());
    }
    return 0;
}
