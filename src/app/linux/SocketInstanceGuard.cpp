#include "app/linux/SocketInstanceGuard.h"

#include "app/linux/CommandConnection.h"
#include "app/linux/SessionName.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>

namespace tovrik::app {

namespace {

constexpr int kBacklog = 8;
constexpr int kAnswerSeconds = 2;

struct AbstractAddress {
    sockaddr_un address{};
    socklen_t length = 0;
};

AbstractAddress AddressOf(const std::string& socketName) {
    AbstractAddress result;
    result.address.sun_family = AF_UNIX;
    // Abstract names start with a zero byte and are not NUL-terminated.
    const std::size_t length = std::min(socketName.size(), sizeof(result.address.sun_path) - 1);
    std::memcpy(result.address.sun_path + 1, socketName.data(), length);
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    return result;
}

// Owns a descriptor for the length of one call.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int Get() const { return m_fd; }
    [[nodiscard]] int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

} // namespace

SocketInstanceGuard::SocketInstanceGuard() = default;

SocketInstanceGuard::~SocketInstanceGuard() {
    m_notifier.reset();
    if (m_socket >= 0) {
        ::close(m_socket);
    }
}

std::string SocketInstanceGuard::SocketName(TextView name) {
    return InstanceSocketName(name, ::getuid(), CurrentSession());
}

bool SocketInstanceGuard::Acquire(TextView name) {
    if (m_socket >= 0) {
        return true;
    }
    const AbstractAddress address = AddressOf(SocketName(name));
    // Close-on-exec: a restarted copy must not inherit the lock from the copy it replaces.
    Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd.Get() < 0) {
        return true;
    }
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address.address), address.length) != 0) {
        return errno != EADDRINUSE;
    }
    // Without listening the name is still held; only the channel is missing.
    static_cast<void>(::listen(fd.Get(), kBacklog));
    m_socket = fd.Release();
    m_notifier = std::make_unique<QSocketNotifier>(m_socket, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { AcceptConnections(); });
    return true;
}

void SocketInstanceGuard::SetReceiver(Receiver receiver) {
    m_receiver = std::move(receiver);
}

void SocketInstanceGuard::AcceptConnections() {
    while (true) {
        const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            return;
        }
        ucred peer{};
        socklen_t peerLength = sizeof(peer);
        // Abstract names carry no file permissions: only the user's own processes are heard.
        if (::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) != 0 || peer.uid != ::getuid()) {
            ::close(connection);
            continue;
        }
        // Deletes itself once the line is read or the sender gave up.
        new CommandConnection(connection, m_notifier.get(), [this](InstanceCommand command) {
            if (m_receiver) {
                m_receiver(command);
            }
        });
    }
}

bool SocketInstanceGuard::Send(TextView name, InstanceCommand command) {
    const AbstractAddress address = AddressOf(SocketName(name));
    const Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0) {
        return false;
    }
    const timeval timeout{kAnswerSeconds, 0};
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address.address), address.length) != 0) {
        return false;
    }
    const std::string line = std::string(CommandWord(command)) + "\n";
    if (::send(fd.Get(), line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size())) {
        return false;
    }
    std::string answer;
    char buffer[16];
    while (answer.find('\n') == std::string::npos && answer.size() < sizeof(buffer)) {
        const ssize_t got = ::recv(fd.Get(), buffer, sizeof(buffer), 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    return answer == "ok\n";
}

} // namespace tovrik::app
