// A tray host as a desktop panel offers one: it owns org.kde.StatusNotifierWatcher on the
// session bus, says that a host is registered, and prints each item that registers, one
// line each ("registered SERVICE"), so that a test can look at the item over the bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace {

const QString kService = QStringLiteral("org.kde.StatusNotifierWatcher");

const char* const kIntrospection = R"(
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
)";

class Watcher final : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return QString::fromLatin1(kIntrospection); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        QDBusMessage reply = message.createReply();
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
            const QString name = message.arguments().value(1).toString();
            if (member == QLatin1String("Get")) {
                reply << QVariant::fromValue(QDBusVariant(Property(name)));
            } else if (member == QLatin1String("GetAll")) {
                QVariantMap all;
                for (const char* p :
                     {"RegisteredStatusNotifierItems", "IsStatusNotifierHostRegistered", "ProtocolVersion"}) {
                    all.insert(QString::fromLatin1(p), Property(QString::fromLatin1(p)));
                }
                reply << all;
            } else {
                return false;
            }
        } else if (member == QLatin1String("RegisterStatusNotifierItem")) {
            // An item names its service, or only its object path on the sender's connection.
            QString item = message.arguments().value(0).toString();
            if (item.startsWith(u'/')) {
                item = message.service();
            }
            m_items << item;
            std::printf("registered %s\n", item.toUtf8().constData());
            std::fflush(stdout);
        } else if (member != QLatin1String("RegisterStatusNotifierHost")) {
            return false;
        }
        connection.send(reply);
        return true;
    }

  private:
    QVariant Property(const QString& name) const {
        if (name == QLatin1String("IsStatusNotifierHostRegistered")) {
            return true;
        }
        if (name == QLatin1String("ProtocolVersion")) {
            return 0;
        }
        return m_items;
    }
    QStringList m_items;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/StatusNotifierWatcher"), &watcher) ||
        !bus.registerService(kService)) {
        std::fprintf(stderr, "fake_tray_watcher: cannot take %s on the session bus\n",
                     kService.toUtf8().constData());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
