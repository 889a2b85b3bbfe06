#pragma once

#include "app/InstanceCommand.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <string>

namespace tovrik::app {

// One sender on the single-instance channel: reads its line (at most 64 bytes, within two
// seconds), answers "ok\n" or "unknown\n", closes, and hands a known command on from the
// event loop, after the sender has its answer. Owns the descriptor and deletes itself.
class CommandConnection final : public QObject {
public:
    using Handler = std::function<void(InstanceCommand)>;

    CommandConnection(int fd, QObject* parent, Handler handler);
    ~CommandConnection() override;
    CommandConnection(const CommandConnection&) = delete;
    CommandConnection& operator=(const CommandConnection&) = delete;

private:
    void Read();
    void Finish(const char* answer);

    int m_fd;
    Handler m_handler;
    std::string m_line;
    QSocketNotifier m_notifier;
    QTimer m_deadline;
};

} // namespace tovrik::app
