#include "app/linux/CommandConnection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

namespace tovrik::app {

namespace {

constexpr std::size_t kMaxLine = 64;
constexpr int kDeadlineMs = 2000;

} // namespace

CommandConnection::CommandConnection(int fd, QObject* parent, Handler handler)
    : QObject(parent), m_fd(fd), m_handler(std::move(handler)), m_notifier(fd, QSocketNotifier::Read) {
    connect(&m_notifier, &QSocketNotifier::activated, this, [this] { Read(); });
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { Finish(nullptr); });
    m_deadline.start(kDeadlineMs);
}

CommandConnection::~CommandConnection() {
    m_notifier.setEnabled(false);
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void CommandConnection::Read() {
    char buffer[kMaxLine];
    while (true) {
        const ssize_t got = ::recv(m_fd, buffer, sizeof(buffer), 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (got <= 0) {
            Finish(nullptr);
            return;
        }
        m_line.append(buffer, static_cast<std::size_t>(got));
        if (const std::size_t end = m_line.find('\n'); end != std::string::npos) {
            const std::optional<InstanceCommand> command = CommandFromWord(std::string_view(m_line).substr(0, end));
            Finish(command ? "ok\n" : "unknown\n");
            if (command && m_handler) {
                // Queued: whatever the command starts (an overlay, a message box) runs from the
                // event loop, not inside the socket's notification.
                QTimer::singleShot(0, parent(), [handler = m_handler, command = *command] { handler(command); });
            }
            return;
        }
        if (m_line.size() >= kMaxLine) {
            Finish("unknown\n");
            return;
        }
    }
}

void CommandConnection::Finish(const char* answer) {
    m_notifier.setEnabled(false);
    m_deadline.stop();
    if (answer != nullptr) {
        static_cast<void>(::send(m_fd, answer, std::strlen(answer), MSG_NOSIGNAL | MSG_DONTWAIT));
    }
    ::close(std::exchange(m_fd, -1));
    deleteLater();
}

} // namespace tovrik::app
