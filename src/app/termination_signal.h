#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace kx {

// A termination request from the system (SIGTERM, SIGINT, SIGHUP on Unix: logout, kill, Ctrl+C)
// takes the same way as the close box, so the show is saved and backed up before the process
// ends. The handler only writes a byte to a pipe; the callback runs on the interface thread.
class TerminationSignal : public QObject {
  public:
    explicit TerminationSignal(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TerminationSignal() override;

  private:
    std::function<void()> m_onRequest;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace kx
