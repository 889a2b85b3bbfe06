#pragma once

#include "app/InstanceGuard.h"

#include <memory>
#include <string>

class QSocketNotifier;

namespace tovrik::app {

// The single-instance lock as a Unix socket bound to an abstract name: the kernel lets one
// socket hold a name, and releases it when the process ends, however it ends (no stale lock
// file). Like a Windows named event, which lives in the logon session, the name is per user
// and per session (app/linux/SessionName.h).
//
// The same socket is the channel to the running copy: a sender connects, writes the command's
// word and "\n", and reads "ok\n" once the copy has taken it ("unknown\n" for a word it does
// not know); connections of other users are closed unanswered. The receiving side needs a Qt
// event loop; sending needs none.
class SocketInstanceGuard final : public InstanceGuard {
public:
    SocketInstanceGuard();
    ~SocketInstanceGuard() override;
    SocketInstanceGuard(const SocketInstanceGuard&) = delete;
    SocketInstanceGuard& operator=(const SocketInstanceGuard&) = delete;

    // When no socket can be made at all the program runs on, as it does when CreateEventA
    // fails.
    [[nodiscard]] bool Acquire(TextView name) override;
    void SetReceiver(Receiver receiver) override;
    // Waits at most two seconds for the answer.
    [[nodiscard]] bool Send(TextView name, InstanceCommand command) override;

    // The abstract socket name for the lock name in this process's session.
    [[nodiscard]] static std::string SocketName(TextView name);

private:
    void AcceptConnections();

    int m_socket = -1;
    Receiver m_receiver;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace tovrik::app
