#include "app/linux/SessionKind.h"

#include <cstdlib>

namespace tovrik::app {

namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

} // namespace

SessionKind DetectSessionKind(std::string_view sessionType, std::string_view waylandDisplay,
                              std::string_view qtPlatform) {
    // Asking Qt for its X11 platform means running as an X11 program (under XWayland).
    if (qtPlatform.starts_with("xcb")) {
        return SessionKind::X11;
    }
    if (qtPlatform.starts_with("wayland")) {
        return SessionKind::Wayland;
    }
    if (sessionType == "x11") {
        return SessionKind::X11;
    }
    return waylandDisplay.empty() ? SessionKind::X11 : SessionKind::Wayland;
}

SessionKind CurrentSessionKind() {
    return DetectSessionKind(Variable("XDG_SESSION_TYPE"), Variable("WAYLAND_DISPLAY"), Variable("QT_QPA_PLATFORM"));
}

} // namespace tovrik::app
