#pragma once

#include <X11/Xlib.h>

namespace tovrik::capture {

// Xlib reports errors through one process-wide handler; while a trap is set, errors are ours to
// catch instead of ending the process.
class XErrorTrap {
public:
    // Waits for the answers to what was sent before, so that their errors are not caught here;
    // without settling, they may be.
    explicit XErrorTrap(Display* display, bool settleFirst = true);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server's answer to everything sent so far.
    [[nodiscard]] bool Failed();
    // Whether an error arrived so far: enough after a request that waits for its reply.
    [[nodiscard]] bool FailedSoFar() const;

private:
    Display* m_display;
    XErrorHandler m_previous = nullptr;
};

} // namespace tovrik::capture
