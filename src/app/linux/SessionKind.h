#pragma once

#include <string_view>

namespace tovrik::app {

enum class SessionKind { X11, Wayland };

// The kind of desktop session the program runs in, from XDG_SESSION_TYPE and WAYLAND_DISPLAY
// (and the Qt platform a user may have asked for). A Wayland session with XWayland still
// counts as Wayland: X grabs and the X root window see nothing of the Wayland clients there.
[[nodiscard]] SessionKind DetectSessionKind(std::string_view sessionType, std::string_view waylandDisplay,
                                            std::string_view qtPlatform);
// The same from the environment of the process.
[[nodiscard]] SessionKind CurrentSessionKind();

} // namespace tovrik::app
