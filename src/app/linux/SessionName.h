#pragma once

#include <string>
#include <string_view>

namespace tovrik::app {

// What tells one desktop session of a user from another, as the environment gives it.
struct SessionEnvironment {
    std::string_view display{};        // DISPLAY
    std::string_view waylandDisplay{}; // WAYLAND_DISPLAY
    std::string_view runtimeDir{};     // XDG_RUNTIME_DIR
};

// The session as one text, the same for every spelling of it: a Wayland session by its socket
// (WAYLAND_DISPLAY, relative to XDG_RUNTIME_DIR unless absolute), else an X display by host and
// number (":0", ":0.0" and "unix:0" are one display; "localhost:10" is a TCP display and not
// ":10"), else "none".
[[nodiscard]] std::string SessionKey(const SessionEnvironment& session);
// The session of this process's environment.
[[nodiscard]] SessionEnvironment CurrentSession();

// The abstract socket name of the single-instance lock: the lock name, the user and the
// session. Names too long for a socket address end in a digest of the session instead.
[[nodiscard]] std::string InstanceSocketName(std::string_view lockName, unsigned userId,
                                             const SessionEnvironment& session);

} // namespace tovrik::app
