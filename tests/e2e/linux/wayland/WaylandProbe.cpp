// A small Wayland client for the end-to-end test of a wlroots session:
//   tovrik-wayland-probe pointer <width> <height>
//       adds a virtual pointer to the compositor's seat, prints "ready" and then moves and
//       presses it as its standard input says, one command a line, until that closes:
//         move <x> <y>    to that place of the layout (logical pixels; the layout is
//                         <width> x <height> logical pixels)
//         press | release the left button
// A headless compositor has no input devices, so its seat offers clients no pointer at all.
// `swaymsg seat - cursor ...` needs a pointer in the seat too, and sway does not pass its
// moves on to the window that holds a pressed button (no drag), so the drags go through the
// device itself, as a mouse would send them.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* pointers = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

constexpr std::uint32_t kLeftButton = 0x110; // BTN_LEFT of <linux/input-event-codes.h>

std::uint32_t NowMs() {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// One command line; false when it is not one.
bool Apply(zwlr_virtual_pointer_v1* pointer, const std::string& line, std::uint32_t width, std::uint32_t height) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "move") {
        long x = -1;
        long y = -1;
        words >> x >> y;
        if (!words || x < 0 || y < 0 || x > static_cast<long>(width) || y > static_cast<long>(height)) {
            return false;
        }
        zwlr_virtual_pointer_v1_motion_absolute(pointer, NowMs(), static_cast<std::uint32_t>(x),
                                                static_cast<std::uint32_t>(y), width, height);
    } else if (verb == "press" || verb == "release") {
        zwlr_virtual_pointer_v1_button(pointer, NowMs(), kLeftButton,
                                       verb == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                       : WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        return false;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    return true;
}

struct DisplayCloser {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

int DrivePointer(std::uint32_t width, std::uint32_t height) {
    const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
    if (!display) {
        std::fprintf(stderr, "no Wayland display (WAYLAND_DISPLAY)\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    if (wl_display_roundtrip(display.get()) < 0 || globals.seat == nullptr || globals.pointers == nullptr) {
        std::fprintf(stderr, "the compositor offers no %s\n",
                     globals.seat == nullptr ? "seat" : "virtual pointers (zwlr_virtual_pointer_manager_v1)");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.pointers, globals.seat);
    if (wl_display_roundtrip(display.get()) < 0) {
        std::fprintf(stderr, "the compositor closed the connection\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    pollfd watched[2] = {{wl_display_get_fd(display.get()), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string pending;
    char buffer[256];
    for (;;) {
        wl_display_flush(display.get());
        if (poll(watched, 2, -1) < 0) {
            break;
        }
        if ((watched[0].revents & (POLLERR | POLLHUP)) != 0 ||
            ((watched[0].revents & POLLIN) != 0 && wl_display_dispatch(display.get()) < 0)) {
            std::fprintf(stderr, "the compositor closed the connection\n");
            return 1;
        }
        if ((watched[1].revents & (POLLIN | POLLHUP)) == 0) {
            continue;
        }
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!Apply(pointer, line, width, height)) {
                std::fprintf(stderr, "not a command: %s\n", line.c_str());
            }
        }
        // The compositor has taken the commands before the next ones come.
        if (wl_display_roundtrip(display.get()) < 0) {
            std::fprintf(stderr, "the compositor closed the connection\n");
            return 1;
        }
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(globals.pointers);
    wl_seat_destroy(globals.seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display.get());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "pointer") == 0) {
        const long width = std::strtol(argv[2], nullptr, 10);
        const long height = std::strtol(argv[3], nullptr, 10);
        if (width > 0 && height > 0) {
            return DrivePointer(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
        }
    }
    std::fprintf(stderr, "usage: %s pointer <layout width> <layout height>\n", argv[0]);
    return 2;
}
