#include "platform/Home.h"

#include "platform/Environment.h"
#include "platform/Paths.h"

#include <QDir>
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
    if (home.isEmpty()) {
        QString data = env.Get("XDG_DATA_HOME");
        if (data.isEmpty()) {
            data = env.Get("HOME") + "/.local/share";
        }
        home = data + "/merivane";
    }
    return At(home);
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

}  // namespace merivane
