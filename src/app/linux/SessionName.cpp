#include "app/linux/SessionName.h"

#include "text/Md5Digest.h"

#include <sys/un.h>

#include <cstdlib>

namespace tovrik::app {

namespace {

// sun_path less the leading zero byte of an abstract name.
constexpr std::size_t kMaxSocketName = sizeof(sockaddr_un{}.sun_path) - 1;

std::string_view Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

std::string WithoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return std::string(path);
}

// "[host]:number[.screen]" as "host:number"; the local host spelled "" or "unix" is "".
std::string X11Key(std::string_view display) {
    const std::size_t colon = display.rfind(':');
    if (colon == std::string_view::npos) {
        return "x11:" + std::string(display);
    }
    std::string_view host = display.substr(0, colon);
    std::string_view number = display.substr(colon + 1);
    if (const std::size_t dot = number.find('.'); dot != std::string_view::npos) {
        number = number.substr(0, dot);
    }
    if (host == "unix") {
        host = {};
    }
    return "x11:" + std::string(host) + ":" + std::string(number);
}

std::string HexDigest(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char value : text::Md5Digest(text).value_or(text::Md5{})) {
        hex += kHex[value >> 4];
        hex += kHex[value & 0x0F];
    }
    return hex;
}

} // namespace

std::string SessionKey(const SessionEnvironment& session) {
    if (!session.waylandDisplay.empty()) {
        if (session.waylandDisplay.front() == '/' || session.runtimeDir.empty()) {
            return "wayland:" + WithoutTrailingSlashes(session.waylandDisplay);
        }
        return "wayland:" + WithoutTrailingSlashes(session.runtimeDir) + "/" + std::string(session.waylandDisplay);
    }
    if (!session.display.empty()) {
        return X11Key(session.display);
    }
    return "none";
}

SessionEnvironment CurrentSession() {
    return {.display = Env("DISPLAY"), .waylandDisplay = Env("WAYLAND_DISPLAY"), .runtimeDir = Env("XDG_RUNTIME_DIR")};
}

std::string InstanceSocketName(std::string_view lockName, unsigned userId, const SessionEnvironment& session) {
    const std::string prefix = std::string(lockName) + "/" + std::to_string(userId) + "/";
    std::string key = SessionKey(session);
    if (prefix.size() + key.size() > kMaxSocketName) {
        key = "md5:" + HexDigest(key);
    }
    return (prefix + key).substr(0, kMaxSocketName);
}

} // namespace tovrik::app
