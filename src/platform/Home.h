#pragma once

#include <QString>

namespace merivane {

class Environment;

// Where the program keeps everything it writes for itself. Folders end in '/'.
struct HomeLayout {
    QString Home;        // the home folder, absolute; also the program folder (AppPath)
    QString DriveC;      // the folder that stands for the C: drive
    QString WindowsDir;  // DriveC + "WINDOWS/"
    QString SystemDir;   // WindowsDir + "SYSTEM/"
    QString RegistryFile;
    QString InstanceDir;

    static HomeLayout At(const QString& home);
    // MERIVANE_HOME, else $XDG_DATA_HOME/merivane, else ~/.local/share/merivane.
    static HomeLayout FromEnvironment(const Environment& env);

    // Creates the folders; false (with the reason in *error) when one cannot be made.
    bool Create(QString* error) const;
};

}  // namespace merivane
