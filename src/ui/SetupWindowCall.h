#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace merivane {

struct HomeLayout;

// How a second Merivane reaches the running one: a local socket of the home's, on which
// the running program listens while its windows or its tray are up.
class SetupWindowCall final : public QObject {
  public:
    // The socket of a home (a short name in the runtime folder when the home's own path
    // is too long for a socket).
    static QString SocketName(const HomeLayout& home);
    // Asks the program listening there to show its setup window; true when it said it did.
    static bool Ask(const QString& socketName, int timeoutMs = 3000);

    SetupWindowCall();
    ~SetupWindowCall() override;
    // Listens until destroyed, calling `show` for each request. False when another program
    // answers there already, or the socket cannot be made.
    bool Listen(const QString& socketName, std::function<void()> show);

  private:
    std::unique_ptr<QLocalServer> m_server;
    std::function<void()> m_show;
};

}  // namespace merivane
