// The wait before a Wayland freeze: for the compositor's frames after a window of ours was
// shown or hidden, so that the picture shows the screen as the user left it.
#include "capture/linux/wayland/WaylandScreenSettle.h"
#include "ui/linux/OffscreenQt.h"

#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

TEST(WaylandScreenSettleTest, AWindowJustHiddenIsGivenTheCompositorsFramesOnceAndNoMore) {
    testing::OffscreenApplication();
    WaylandScreenSettle settle;
    QWidget window;
    window.show();
    testing::ProcessEvents();
    window.hide();
    QElapsedTimer sinceHidden;
    sinceHidden.start();

    settle.AwaitOwnWindows(100);
    EXPECT_GE(sinceHidden.elapsed(), WaylandScreenSettle::kCompositorFramesMs);

    // The frames are past: the next freeze waits for nothing.
    QElapsedTimer second;
    second.start();
    settle.AwaitOwnWindows(100);
    EXPECT_LT(second.elapsed(), WaylandScreenSettle::kCompositorFramesMs);
}

TEST(WaylandScreenSettleTest, TheWaitKeepsToTheFreezesLimit) {
    testing::OffscreenApplication();
    WaylandScreenSettle settle;
    QWidget window;
    window.show();
    QElapsedTimer waited;
    waited.start();
    settle.AwaitOwnWindows(0);
    window.hide();
    EXPECT_LT(waited.elapsed(), WaylandScreenSettle::kCompositorFramesMs);
}

} // namespace
} // namespace tovrik::capture
