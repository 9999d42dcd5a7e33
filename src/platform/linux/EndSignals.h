#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace merivane {

// Turns SIGTERM, SIGHUP and SIGINT into a call on the event loop, so that a resident
// program ends as it does from its own menu: the icon taken away, nothing half written.
// One object at a time; the signals' old handlers come back when it goes.
class EndSignals final : public QObject {
  public:
    explicit EndSignals(std::function<void(int)> onSignal);
    ~EndSignals() override;
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    bool Installed() const { return m_notifier != nullptr; }

  private:
    void Deliver();

    std::function<void(int)> m_onSignal;
    int m_fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace merivane
