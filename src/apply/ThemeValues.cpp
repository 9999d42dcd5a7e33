#include "apply/ThemeValues.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"

namespace merivane {

QString ReadThemeValue(const QString& themeFile, const QString& section, const QString& key, int bufferSize) {
    return CutAtNul(ProfileFile::ReadString(themeFile, section, key, QString(), bufferSize)).trimmed();
}

QString ExpandThemePath(const QString& value, const QString& themeFolder, const QString& windowsDir,
                        const QString& systemDir) {
    QString result = CutAtNul(value);
    const std::pair<QLatin1String, const QString*> tokens[] = {
        {QLatin1String("%ThemeDir%"), &themeFolder},
        {QLatin1String("%WinDir%"), &windowsDir},
        {QLatin1String("%SysDir%"), &systemDir},
    };
    for (const auto& [token, folder] : tokens) {
        if (result.startsWith(token, Qt::CaseInsensitive)) {
            QString rest = result.mid(token.size());
            // Our folders end in '/': "%WinDir%\x" must not become "WINDOWS/\x".
            if (folder->endsWith(u'/') && (rest.startsWith(u'\\') || rest.startsWith(u'/'))) {
                rest.remove(0, 1);
            }
            result = *folder + rest;
        }
    }
    return result.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
}

QString ThemeFileIn(const QString& folder, const QString& fileName) {
    return fileName.startsWith(u'/') ? fileName : folder + fileName;
}

}  // namespace merivane
