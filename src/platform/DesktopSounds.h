#pragma once

#include <QMap>
#include <QString>

namespace merivane {

// The desktop's choice of event sounds: a freedesktop sound theme by name where the desktop
// has such a setting (GNOME, MATE, Xfce), one file per event where it has those instead
// (Cinnamon). A desktop with neither (KDE Plasma, none at all) reads as empty and ignores
// what it is told.
class DesktopSounds {
  public:
    virtual ~DesktopSounds() = default;
    // The sound theme in use now; empty when the desktop has no such setting.
    virtual QString SelectedTheme() = 0;
    virtual void SelectTheme(const QString& name) = 0;
    // Per-event files by the desktop's own event keys ("login"); empty where there are none.
    virtual QMap<QString, QString> EventFiles() = 0;
    // Sets these events' files and switches them on.
    virtual void SetEventFiles(const QMap<QString, QString>& files) = 0;
};

class NoDesktopSounds final : public DesktopSounds {
  public:
    QString SelectedTheme() override { return QString(); }
    void SelectTheme(const QString&) override {}
    QMap<QString, QString> EventFiles() override { return {}; }
    void SetEventFiles(const QMap<QString, QString>&) override {}
};

}  // namespace merivane
