#include "platform/linux/EndSignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <csignal>

namespace merivane {

namespace {
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// A signal handler can reach nothing but a global: the write end of the pipe.
std::atomic<int> g_writeFd{-1};
struct sigaction g_old[3];

void OnSignal(int signal) {
    int fd = g_writeFd.load();
    if (fd >= 0) {
        unsigned char byte = static_cast<unsigned char>(signal);
        [[maybe_unused]] ssize_t written = ::write(fd, &byte, 1);
    }
}
}  // namespace

EndSignals::EndSignals(std::function<void(int)> onSignal) : m_onSignal(std::move(onSignal)) {
    if (g_writeFd.load() >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_fds) != 0) {
        m_fds[0] = m_fds[1] = -1;
        return;
    }
    ::fcntl(m_fds[1], F_SETFL, O_NONBLOCK);
    g_writeFd.store(m_fds[1]);
    for (int i = 0; i < 3; ++i) {
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(kSignals[i], &action, &g_old[i]);
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fds[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { Deliver(); });
}

EndSignals::~EndSignals() {
    if (m_fds[0] < 0) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        ::sigaction(kSignals[i], &g_old[i], nullptr);
    }
    g_writeFd.store(-1);
    m_notifier.reset();
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void EndSignals::Deliver() {
    unsigned char byte = 0;
    if (::read(m_fds[0], &byte, 1) == 1 && m_onSignal) {
        m_onSignal(byte);
    }
}

}  // namespace merivane
