#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tovrik::testutil {

// A TCP socket on 127.0.0.1 for test servers, the same on POSIX and Winsock. Every wait is
// bounded, so that a server thread can notice that it should stop.
class LoopbackSocket {
public:
    static constexpr long kTimedOut = -1;
    static constexpr long kFailed = -2;

    LoopbackSocket() = default;
    LoopbackSocket(LoopbackSocket&& other) noexcept;
    LoopbackSocket& operator=(LoopbackSocket&& other) noexcept;
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;
    ~LoopbackSocket();

    // Listens on an ephemeral port; an invalid socket when that fails.
    [[nodiscard]] static LoopbackSocket Listen();

    [[nodiscard]] explicit operator bool() const { return m_handle != kInvalid; }
    [[nodiscard]] int LocalPort() const;

    // An invalid socket when no connection arrived within the wait.
    [[nodiscard]] LoopbackSocket Accept(int waitMs) const;
    // Bytes received (> 0), 0 when the peer closed, kTimedOut or kFailed.
    [[nodiscard]] long Receive(char* buffer, std::size_t size, int waitMs) const;
    // False when the peer went away or made no progress for idleMs.
    [[nodiscard]] bool SendAll(std::string_view data, int idleMs) const;
    void SetNoDelay() const;
    void Shutdown() const;

private:
    static constexpr std::intptr_t kInvalid = -1;
    explicit LoopbackSocket(std::intptr_t handle) : m_handle(handle) {}
    void Close();

    std::intptr_t m_handle = kInvalid;
};

} // namespace tovrik::testutil
