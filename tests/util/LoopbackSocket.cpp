#include "LoopbackSocket.h"

#include <utility>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tovrik::testutil {

namespace {

#ifdef _WIN32
using Native = SOCKET;
constexpr int kNoSignal = 0;

class WinsockSession {
public:
    WinsockSession() {
        WSADATA data{};
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession() {
        if (m_started) {
            WSACleanup();
        }
    }

private:
    bool m_started = false;
};

void StartSockets() {
    static const WinsockSession session;
}
void CloseNative(Native socket) {
    closesocket(socket);
}
constexpr int kShutdownBoth = SD_BOTH;
using Length = int;

// Winsock's select works on loopback under Wine as on Windows.
bool WaitFor(Native socket, bool forWriting, int waitMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval limit{waitMs / 1000, (waitMs % 1000) * 1000};
    const int ready =
        forWriting ? select(0, nullptr, &set, nullptr, &limit) : select(0, &set, nullptr, nullptr, &limit);
    return ready > 0;
}
#else
using Native = int;
constexpr int kNoSignal = MSG_NOSIGNAL;

void StartSockets() {}
void CloseNative(Native socket) {
    close(socket);
}
constexpr int kShutdownBoth = SHUT_RDWR;
using Length = socklen_t;

bool WaitFor(Native socket, bool forWriting, int waitMs) {
    pollfd entry{socket, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    return poll(&entry, 1, waitMs) > 0;
}
#endif

Native ToNative(std::intptr_t handle) {
    return static_cast<Native>(handle);
}

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

LoopbackSocket::LoopbackSocket(LoopbackSocket&& other) noexcept : m_handle(std::exchange(other.m_handle, kInvalid)) {}

LoopbackSocket& LoopbackSocket::operator=(LoopbackSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, kInvalid);
    }
    return *this;
}

LoopbackSocket::~LoopbackSocket() {
    Close();
}

void LoopbackSocket::Close() {
    if (m_handle != kInvalid) {
        CloseNative(ToNative(m_handle));
        m_handle = kInvalid;
    }
}

LoopbackSocket LoopbackSocket::Listen() {
    StartSockets();
    LoopbackSocket socket(static_cast<std::intptr_t>(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
    if (!socket) {
        return {};
    }
    const sockaddr_in address = LoopbackAddress(0);
    if (bind(ToNative(socket.m_handle), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(ToNative(socket.m_handle), 64) != 0) {
        return {};
    }
    return socket;
}

int LoopbackSocket::LocalPort() const {
    sockaddr_in address{};
    Length length = sizeof address;
    if (getsockname(ToNative(m_handle), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

LoopbackSocket LoopbackSocket::Accept(int waitMs) const {
    if (!WaitFor(ToNative(m_handle), false, waitMs)) {
        return {};
    }
    const Native accepted = accept(ToNative(m_handle), nullptr, nullptr);
    return LoopbackSocket(static_cast<std::intptr_t>(accepted));
}

long LoopbackSocket::Receive(char* buffer, std::size_t size, int waitMs) const {
    if (!WaitFor(ToNative(m_handle), false, waitMs)) {
        return kTimedOut;
    }
    const auto received = recv(ToNative(m_handle), buffer, static_cast<int>(size), 0);
    return received < 0 ? kFailed : static_cast<long>(received);
}

bool LoopbackSocket::SendAll(std::string_view data, int idleMs) const {
    while (!data.empty()) {
        if (!WaitFor(ToNative(m_handle), true, idleMs)) {
            return false;
        }
        const auto sent = send(ToNative(m_handle), data.data(), static_cast<int>(data.size()), kNoSignal);
        if (sent <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void LoopbackSocket::SetNoDelay() const {
    const int on = 1;
    setsockopt(ToNative(m_handle), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

void LoopbackSocket::Shutdown() const {
    shutdown(ToNative(m_handle), kShutdownBoth);
}

} // namespace tovrik::testutil
