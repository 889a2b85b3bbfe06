#pragma once

#include "app/InstanceGuard.h"

#include <string>

namespace tovrik::app {

// The single-instance lock as a Unix socket bound to an abstract name: the kernel lets one
// socket hold a name, and releases it when the process ends, however it ends (no stale lock
// file). Like a Windows named event, which lives in the logon session, the name is per user
// and per X display.
class SocketInstanceGuard final : public InstanceGuard {
public:
    SocketInstanceGuard() = default;
    ~SocketInstanceGuard() override;
    SocketInstanceGuard(const SocketInstanceGuard&) = delete;
    SocketInstanceGuard& operator=(const SocketInstanceGuard&) = delete;

    // When no socket can be made at all the program runs on, as it does when CreateEventA
    // fails.
    [[nodiscard]] bool Acquire(TextView name) override;

    // The abstract socket name for the lock name, without the leading zero byte.
    [[nodiscard]] static std::string SocketName(TextView name, unsigned userId, const char* display);

private:
    int m_socket = -1;
};

} // namespace tovrik::app
