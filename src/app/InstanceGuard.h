#pragma once

#include "app/InstanceCommand.h"
#include "text/Types.h"

#include <functional>

namespace tovrik::app {

// Tells whether another copy of the program runs, and carries commands to it.
// Windows: OpenEventA(EVENT_ALL_ACCESS, FALSE, name); when that fails, CreateEventA(NULL,
// FALSE, FALSE, name), whose handle is held until the process ends; no channel. Linux: a
// listening Unix socket of that name, per user and session, held until the process ends; the
// channel is one line per connection (see app/linux/SocketInstanceGuard.h).
class InstanceGuard {
public:
    using Receiver = std::function<void(InstanceCommand)>;

    virtual ~InstanceGuard() = default;
    // False when another process already holds the name; true when this process now holds it.
    [[nodiscard]] virtual bool Acquire(TextView name) = 0;
    // Where the commands of other copies go once this one holds the name: called on the
    // user-interface thread from the event loop, never inside the sender's wait. Set before
    // Acquire.
    virtual void SetReceiver(Receiver receiver) = 0;
    // Hands the command to the copy that holds the name and waits (bounded) until it has
    // taken it. False when no copy took it: none runs, or it does not answer.
    [[nodiscard]] virtual bool Send(TextView name, InstanceCommand command) = 0;
};

} // namespace tovrik::app
