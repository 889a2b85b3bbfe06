#pragma once

#include <X11/Xlib.h>

namespace tovrik::capture {

// Xlib reports errors through one process-wide handler; while a trap is set, errors are ours to
// catch instead of ending the process.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server's answer to everything sent so far.
    [[nodiscard]] bool Failed();

private:
    Display* m_display;
    XErrorHandler m_previous = nullptr;
};

} // namespace tovrik::capture
