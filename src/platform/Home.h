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
    // The data shipped with the program (see ShippedDataDir); empty when there is none.
    // What the home lacks is read from here by a run that must not make the home.
    QString ShippedData;

    static HomeLayout At(const QString& home);
    // MERIVANE_HOME, else $XDG_DATA_HOME/merivane, else ~/.local/share/merivane.
    static HomeLayout FromEnvironment(const Environment& env);

    // Creates the folders; false (with the reason in *error) when one cannot be made.
    bool Create(QString* error) const;
    // Copies each file of the shipped data folder that the home does not have yet.
    void InstallShippedData(const QString& dataDir) const;
};

// $XDG_DATA_HOME, else ~/.local/share.
QString DataHome(const Environment& env);

// The folder of the data that ships with the program: MERIVANE_DATA_DIR, else
// share/merivane beside the installed program, else the source tree's data folder.
QString ShippedDataDir(const Environment& env);

}  // namespace merivane
