#include "app/linux/SocketInstanceGuard.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace tovrik::app {

SocketInstanceGuard::~SocketInstanceGuard() {
    if (m_socket >= 0) {
        ::close(m_socket);
    }
}

std::string SocketInstanceGuard::SocketName(TextView name, unsigned userId, const char* display) {
    std::string socketName(name);
    socketName += "/" + std::to_string(userId) + "/";
    socketName += display != nullptr ? display : "";
    return socketName;
}

bool SocketInstanceGuard::Acquire(TextView name) {
    if (m_socket >= 0) {
        return true;
    }
    const std::string socketName = SocketName(name, ::getuid(), std::getenv("DISPLAY"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Abstract names start with a zero byte and are not NUL-terminated.
    const std::size_t length = std::min(socketName.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, socketName.data(), length);
    const auto addressLength = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);

    // Close-on-exec: a restarted copy must not inherit the lock from the copy it replaces.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return true;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), addressLength) != 0) {
        const int error = errno;
        ::close(fd);
        return error != EADDRINUSE;
    }
    m_socket = fd;
    return true;
}

} // namespace tovrik::app
