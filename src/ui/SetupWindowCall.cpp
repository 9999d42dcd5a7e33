#include "ui/SetupWindowCall.h"

#include "platform/Home.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/un.h>

namespace merivane {

namespace {
const QByteArray kRequest = QByteArrayLiteral("show\n");
const QByteArray kAnswer = QByteArrayLiteral("shown\n");
}  // namespace

QString SetupWindowCall::SocketName(const HomeLayout& home) {
    const QString own = home.InstanceDir + QStringLiteral("setup-window.socket");
    if (static_cast<size_t>(own.toLocal8Bit().size()) < sizeof(sockaddr_un::sun_path)) {
        return own;
    }
    const QByteArray hash =
        QCryptographicHash::hash(home.Home.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(runtime).exists()) {
        runtime = QDir::tempPath();
    }
    return runtime + QStringLiteral("/merivane-") + QString::fromLatin1(hash) + QStringLiteral(".socket");
}

bool SetupWindowCall::Ask(const QString& socketName, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            return false;
        }
    }
    return socket.readLine() == kAnswer;
}

SetupWindowCall::SetupWindowCall() = default;

SetupWindowCall::~SetupWindowCall() {
    if (m_server) {
        m_server->close();  // removes the socket file it made
    }
}

bool SetupWindowCall::Listen(const QString& socketName, std::function<void()> show) {
    if (m_server) {
        return true;
    }
    {
        // A socket that answers belongs to a program that runs: it is not ours to take.
        QLocalSocket probe;
        probe.connectToServer(socketName);
        if (probe.waitForConnected(500)) {
            return false;
        }
    }
    // What is left there is the socket of a program that ended without closing it.
    QLocalServer::removeServer(socketName);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketName)) {
        return false;
    }
    m_show = std::move(show);
    QObject::connect(server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (!client->canReadLine()) {
                    if (client->bytesAvailable() > 64) {
                        client->abort();  // not one of ours
                    }
                    return;
                }
                const QByteArray request = client->readLine();
                if (request != kRequest) {
                    client->abort();
                    return;
                }
                if (m_show) {
                    m_show();
                }
                client->write(kAnswer);
                client->flush();
            });
        }
    });
    m_server = std::move(server);
    return true;
}

}  // namespace merivane
