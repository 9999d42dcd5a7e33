#include "platform/Home.h"

#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace merivane {

HomeLayout HomeLayout::At(const QString& home) {
    HomeLayout layout;
    layout.Home = WithTrailingSeparator(QDir::cleanPath(QFileInfo(home).absoluteFilePath()));
    layout.DriveC = layout.Home + "drive_c/";
    layout.WindowsDir = layout.DriveC + "WINDOWS/";
    layout.SystemDir = layout.WindowsDir + "SYSTEM/";
    layout.RegistryFile = layout.Home + "registry.sqlite";
    layout.InstanceDir = layout.Home + "instances/";
    return layout;
}

HomeLayout HomeLayout::FromEnvironment(const Environment& env) {
    QString home = env.Get("MERIVANE_HOME");
    return At(home.isEmpty() ? DataHome(env) + "/merivane" : home);
}

QString DataHome(const Environment& env) {
    const QString data = env.Get("XDG_DATA_HOME");
    return data.isEmpty() ? env.Get("HOME") + "/.local/share" : data;
}

bool HomeLayout::Create(QString* error) const {
    // The usual theme folder exists from the start, so the first-run search settles there.
    for (const QString& folder :
         {Home, SystemDir, InstanceDir, WindowsDir + QStringLiteral("Resources/Themes/")}) {
        if (!QDir().mkpath(folder)) {
            if (error != nullptr) {
                *error = QStringLiteral("cannot create the folder %1").arg(folder);
            }
            return false;
        }
    }
    return true;
}

void HomeLayout::InstallShippedData(const QString& dataDir) const {
    if (dataDir.isEmpty()) {
        return;
    }
    const QStringList files = QDir(dataDir).entryList(QDir::Files);
    for (const QString& name : files) {
        QString target = Home + name;
        if (!QFileInfo::exists(target) && QFile::copy(dataDir + u'/' + name, target)) {
            SetHidden(target, true);  // the program's own files are read-only while it is not writing them
        }
    }
}

QString ShippedDataDir(const Environment& env) {
    QStringList candidates{env.Get(QStringLiteral("MERIVANE_DATA_DIR"))};
    QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!exe.isEmpty()) {
        candidates << QFileInfo(exe).absolutePath() + QStringLiteral("/../share/merivane");
    }
    candidates << QStringLiteral(MERIVANE_SOURCE_DATA_DIR);
    for (const QString& dir : candidates) {
        if (!dir.isEmpty() && QFileInfo(dir).isDir()) {
            return QDir(dir).absolutePath();
        }
    }
    return QString();
}

}  // namespace merivane
