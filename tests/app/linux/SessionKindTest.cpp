#include "app/linux/SessionKind.h"

#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

TEST(SessionKindTest, WaylandSessionsAreWaylandEvenWithXWaylandThere) {
    EXPECT_EQ(DetectSessionKind("wayland", "wayland-0", ""), SessionKind::Wayland);
    // sway started by hand from a console has no session type, only its socket.
    EXPECT_EQ(DetectSessionKind("", "wayland-1", ""), SessionKind::Wayland);
    EXPECT_EQ(DetectSessionKind("tty", "wayland-1", ""), SessionKind::Wayland);
}

TEST(SessionKindTest, X11SessionsAndSessionsWithoutWaylandAreX11) {
    EXPECT_EQ(DetectSessionKind("x11", "", ""), SessionKind::X11);
    EXPECT_EQ(DetectSessionKind("", "", ""), SessionKind::X11);
    // A nested Wayland compositor's socket left in an X11 session's environment.
    EXPECT_EQ(DetectSessionKind("x11", "wayland-0", ""), SessionKind::X11);
}

TEST(SessionKindTest, TheQtPlatformTheUserAskedForDecides) {
    EXPECT_EQ(DetectSessionKind("wayland", "wayland-0", "xcb"), SessionKind::X11);
    EXPECT_EQ(DetectSessionKind("x11", "", "wayland"), SessionKind::Wayland);
    EXPECT_EQ(DetectSessionKind("wayland", "wayland-0", "wayland-egl"), SessionKind::Wayland);
}

} // namespace
} // namespace tovrik::app
