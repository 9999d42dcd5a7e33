#include "platform/linux/LinuxDesktopSounds.h"

namespace merivane {

namespace {
constexpr int kCommandTimeoutMs = 10000;
const QString kGsettings = QStringLiteral("gsettings");
const QString kCinnamonSchema = QStringLiteral("org.cinnamon.sounds");

// gsettings prints strings quoted: 'freedesktop'.
QString Unquoted(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == u'\'' && text.back() == u'\'') {
        text = text.mid(1, text.size() - 2);
    }
    return text;
}
}  // namespace

const QStringList& LinuxDesktopSounds::CinnamonEvents() {
    static const QStringList events{QStringLiteral("login"),      QStringLiteral("logout"),
                                    QStringLiteral("map"),        QStringLiteral("close"),
                                    QStringLiteral("minimize"),   QStringLiteral("maximize"),
                                    QStringLiteral("unmaximize"), QStringLiteral("notification")};
    return events;
}

QString LinuxDesktopSounds::ThemeSchema() const {
    if (DesktopNamed(m_env, {"cinnamon"})) {
        return QString();
    }
    if (DesktopNamed(m_env, {"gnome", "ubuntu", "budgie", "unity"})) {
        return QStringLiteral("org.gnome.desktop.sound");
    }
    if (DesktopNamed(m_env, {"mate"})) {
        return QStringLiteral("org.mate.sound");
    }
    return QString();
}

bool LinuxDesktopSounds::Xfce() const {
    return DesktopNamed(m_env, {"xfce"});
}

bool LinuxDesktopSounds::Cinnamon() const {
    return DesktopNamed(m_env, {"cinnamon"});
}

QString LinuxDesktopSounds::Output(const QString& program, const QStringList& arguments) {
    QString output;
    if (!m_runner.Exists(program) || !m_runner.Run(program, arguments, kCommandTimeoutMs, &output)) {
        return QString();
    }
    return output;
}

QString LinuxDesktopSounds::SelectedTheme() {
    const QString schema = ThemeSchema();
    if (!schema.isEmpty()) {
        return Unquoted(Output(kGsettings, {QStringLiteral("get"), schema, QStringLiteral("theme-name")}));
    }
    if (Xfce()) {
        return Output(QStringLiteral("xfconf-query"),
                      {QStringLiteral("-c"), QStringLiteral("xsettings"), QStringLiteral("-p"),
                       QStringLiteral("/Net/SoundThemeName")})
            .trimmed();
    }
    return QString();
}

void LinuxDesktopSounds::SelectTheme(const QString& name) {
    const QString schema = ThemeSchema();
    if (!schema.isEmpty() && m_runner.Exists(kGsettings)) {
        m_runner.Run(kGsettings, {QStringLiteral("set"), schema, QStringLiteral("theme-name"), name},
                     kCommandTimeoutMs, nullptr);
    } else if (Xfce() && m_runner.Exists(QStringLiteral("xfconf-query"))) {
        m_runner.Run(QStringLiteral("xfconf-query"),
                     {QStringLiteral("-c"), QStringLiteral("xsettings"), QStringLiteral("-p"),
                      QStringLiteral("/Net/SoundThemeName"), QStringLiteral("-n"), QStringLiteral("-t"),
                      QStringLiteral("string"), QStringLiteral("-s"), name},
                     kCommandTimeoutMs, nullptr);
    }
}

QMap<QString, QString> LinuxDesktopSounds::EventFiles() {
    QMap<QString, QString> files;
    if (!Cinnamon()) {
        return files;
    }
    for (const QString& event : CinnamonEvents()) {
        files[event] = Unquoted(
            Output(kGsettings, {QStringLiteral("get"), kCinnamonSchema, event + QStringLiteral("-file")}));
    }
    return files;
}

void LinuxDesktopSounds::SetEventFiles(const QMap<QString, QString>& files) {
    if (!Cinnamon() || !m_runner.Exists(kGsettings)) {
        return;
    }
    for (auto it = files.begin(); it != files.end(); ++it) {
        m_runner.Run(kGsettings,
                     {QStringLiteral("set"), kCinnamonSchema, it.key() + QStringLiteral("-file"), it.value()},
                     kCommandTimeoutMs, nullptr);
        m_runner.Run(kGsettings,
                     {QStringLiteral("set"), kCinnamonSchema, it.key() + QStringLiteral("-enabled"),
                      it.value().isEmpty() ? QStringLiteral("false") : QStringLiteral("true")},
                     kCommandTimeoutMs, nullptr);
    }
}

}  // namespace merivane
