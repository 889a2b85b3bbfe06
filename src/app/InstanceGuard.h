#pragma once

#include "text/Types.h"

namespace tovrik::app {

// Tells whether another copy of the program runs.
// Windows: OpenEventA(EVENT_ALL_ACCESS, FALSE, name); when that fails, CreateEventA(NULL,
// FALSE, FALSE, name), whose handle is held until the process ends. Linux: a lock of that name
// (file lock or abstract socket), held until the process ends.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // False when another process already holds the name; true when this process now holds it.
    [[nodiscard]] virtual bool Acquire(TextView name) = 0;
};

} // namespace tovrik::app
