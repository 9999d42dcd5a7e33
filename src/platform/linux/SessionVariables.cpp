#include "platform/linux/SessionVariables.h"

#include "platform/TextFile.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace merivane {

namespace {
// The unix socket that a D-Bus address names, when it names one by path.
QString BusSocket(const QString& address) {
    for (const QString& part : address.split(u',')) {
        int colon = part.indexOf(u':');
        QString item = colon >= 0 ? part.mid(colon + 1) : part;
        if (item.startsWith(QLatin1String("path="))) {
            return item.mid(5);
        }
    }
    return {};
}

// Whether the session that `name` belongs to still answers, as far as a socket shows it.
bool StillLives(const QString& name, const QString& value, const QString& runtime) {
    if (name == QLatin1String("DISPLAY")) {
        static const QRegularExpression local(QStringLiteral("^(unix)?:(\\d+)(\\.\\d+)?$"));
        auto match = local.match(value);
        if (!match.hasMatch()) {
            return true;  // a display over the network: nothing here to look at
        }
        return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + match.captured(2));
    }
    if (name == QLatin1String("WAYLAND_DISPLAY")) {
        return QFileInfo::exists(value.startsWith(u'/') ? value : runtime + u'/' + value);
    }
    if (name == QLatin1String("DBUS_SESSION_BUS_ADDRESS")) {
        QString socket = BusSocket(value);
        return socket.isEmpty() || QFileInfo::exists(socket);
    }
    if (name == QLatin1String("XDG_RUNTIME_DIR")) {
        return QFileInfo(value).isDir();
    }
    return true;
}
}  // namespace

const QStringList& SessionVariableNames() {
    static const QStringList names{QStringLiteral("DISPLAY"),
                                   QStringLiteral("WAYLAND_DISPLAY"),
                                   QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   QStringLiteral("XDG_RUNTIME_DIR"),
                                   QStringLiteral("XDG_CURRENT_DESKTOP"),
                                   QStringLiteral("XDG_SESSION_TYPE"),
                                   QStringLiteral("DESKTOP_SESSION"),
                                   QStringLiteral("XAUTHORITY")};
    return names;
}

QString SessionFile(const QString& home) {
    return home + QStringLiteral("session.env");
}

void NoteSessionVariables(const Environment& env, const QString& file) {
    if (env.Get(QStringLiteral("DISPLAY")).isEmpty() &&
        env.Get(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()) {
        return;
    }
    QString text =
        QStringLiteral("# The desktop session Merivane last started in, for its runs from cron.\n");
    for (const QString& name : SessionVariableNames()) {
        QString value = env.Get(name);
        if (!value.isEmpty() && !value.contains(u'\n')) {
            text += name + u'=' + value + u'\n';
        }
    }
    auto old = ReadTextFile(file);
    if (old && *old == text) {
        return;
    }
    QString error;
    WriteFileAtomically(file, text.toUtf8(), &error);
}

QList<QPair<QString, QString>> LiveSessionVariables(const Environment& env, const QString& file) {
    auto text = ReadTextFile(file);
    if (!text) {
        return {};
    }
    QList<QPair<QString, QString>> noted;
    for (const QString& line : SplitLines(*text)) {
        int eq = line.indexOf(u'=');
        if (line.startsWith(u'#') || eq <= 0) {
            continue;
        }
        QString name = line.left(eq);
        if (SessionVariableNames().contains(name)) {
            noted.append({name, line.mid(eq + 1)});
        }
    }
    QString runtime = env.Get(QStringLiteral("XDG_RUNTIME_DIR"));
    for (const auto& [name, value] : noted) {
        if (name == QLatin1String("XDG_RUNTIME_DIR") && runtime.isEmpty()) {
            runtime = value;
        }
    }
    QList<QPair<QString, QString>> taken;
    for (const auto& [name, value] : noted) {
        if (!StillLives(name, value, runtime)) {
            return {};  // that session ended: its values would point a change at nothing
        }
        if (env.Get(name).isEmpty()) {
            taken.append({name, value});
        }
    }
    return taken;
}

void AdoptSessionVariables(const Environment& env, const QString& file) {
    if (!env.Get(QStringLiteral("DISPLAY")).isEmpty() ||
        !env.Get(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()) {
        return;  // already in a session
    }
    for (const auto& [name, value] : LiveSessionVariables(env, file)) {
        qputenv(name.toLocal8Bit().constData(), value.toLocal8Bit());
    }
}

}  // namespace merivane
