#pragma once

#include "platform/DesktopSounds.h"
#include "platform/Environment.h"
#include "platform/linux/DesktopBackground.h"

namespace merivane {

// The sound theme setting of the running desktop: GNOME's and MATE's through gsettings,
// Xfce's through xfconf-query, Cinnamon's per-event files through gsettings. Commands run
// without a shell.
class LinuxDesktopSounds final : public DesktopSounds {
  public:
    LinuxDesktopSounds(const Environment& env, CommandRunner& runner) : m_env(env), m_runner(runner) {}
    QString SelectedTheme() override;
    void SelectTheme(const QString& name) override;
    QMap<QString, QString> EventFiles() override;
    void SetEventFiles(const QMap<QString, QString>& files) override;

    // Cinnamon's event keys, each with "-file" and "-enabled" in org.cinnamon.sounds.
    static const QStringList& CinnamonEvents();

  private:
    // The gsettings schema of the theme name, or empty (Xfce, Cinnamon, the rest).
    QString ThemeSchema() const;
    bool Xfce() const;
    bool Cinnamon() const;
    QString Output(const QString& program, const QStringList& arguments);

    const Environment& m_env;
    CommandRunner& m_runner;
};

}  // namespace merivane
