#include "capture/linux/XErrorTrap.h"

#include <X11/Xlib.h>

namespace tovrik::capture {

namespace {

bool s_failed = false;

int OnError(Display*, XErrorEvent*) {
    s_failed = true;
    return 0;
}

} // namespace

XErrorTrap::XErrorTrap(Display* display, bool settleFirst) : m_display(display) {
    if (settleFirst) {
        XSync(m_display, False);
    }
    s_failed = false;
    m_previous = XSetErrorHandler(&OnError);
}

XErrorTrap::~XErrorTrap() {
    XSetErrorHandler(m_previous);
}

bool XErrorTrap::Failed() {
    XSync(m_display, False);
    return s_failed;
}

bool XErrorTrap::FailedSoFar() const {
    return s_failed;
}

} // namespace tovrik::capture
