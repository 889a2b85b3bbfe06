#include "CaptureTestSupport.h"
#include "fakes/FakeFileDialogHost.h"
#include "fakes/FakeOverlayWindow.h"
#include "fakes/FakeScreenSettle.h"
#include "fakes/FakeScreenSource.h"

#include "capture/CaptureOverlay.h"

#include <gtest/gtest.h>

// The overlay's boxes on screens of several monitors, and the wait before the freeze.
namespace tovrik::capture {
namespace {

using fakes::FakeOverlayWindow;

class OverlayMonitorsTest : public ::testing::Test {
protected:
    fakes::FakeScreenSource screen;
    fakes::FakeScreenSettle settle;
    FakeOverlayWindow window;
    fakes::FakeFileDialogHost dialogs;
    test::ManualClock clock;
    CaptureOverlay overlay{screen, settle, window, dialogs, clock};

    // Runs the overlay; `during` sees it open, then ESC ends it.
    void RunWhile(const std::function<void(FakeOverlayWindow&)>& during) {
        window.script = [&](FakeOverlayWindow& w) {
            during(w);
            w.KeyUp(CaptureOverlay::kKeyEscape);
        };
        static_cast<void>(overlay.Run());
    }
    [[nodiscard]] Rect InfoBox() const { return overlay.Scene().info.box; }
};

TEST_F(OverlayMonitorsTest, SelectionBoxStaysOnAShorterMonitor) {
    screen.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    RunWhile([&](FakeOverlayWindow& w) {
        // No room above, and below the selection the shorter monitor ends at 1024: inside.
        w.Drag(2500, 0, 2700, 1000);
        EXPECT_EQ(InfoBox(), (Rect{2500, 938, 2850, 998}));
        // Near the right edge of the whole screen the box ends at that edge, as before.
        w.Drag(3100, 400, 3150, 500);
        EXPECT_EQ(InfoBox(), (Rect{2850, 338, 3200, 398}));
        // On the taller monitor the box may go below 1024.
        w.Drag(100, 0, 300, 1000);
        EXPECT_EQ(InfoBox(), (Rect{100, 1002, 450, 1062}));
        // Across the seam, the monitor with more of the selection keeps the box: the right
        // one, where the box starts at its left edge rather than at 1880.
        w.Drag(1880, 500, 2100, 600);
        EXPECT_EQ(InfoBox(), (Rect{1920, 438, 2270, 498}));
    });
}

TEST_F(OverlayMonitorsTest, HintIsCentredOnTheMonitorUnderThePointerAndFollowsIt) {
    screen.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    screen.pointer = Point{3000, 700};
    RunWhile([&](FakeOverlayWindow& w) {
        EXPECT_EQ(InfoBox(), (Rect{2730, 510, 3030, 570}));
        const std::size_t presentedBefore = window.presented.size();
        w.Move(200, 300);
        EXPECT_EQ(InfoBox(), (Rect{810, 510, 1110, 570}));
        EXPECT_GT(window.presented.size(), presentedBefore) << "the moved hint is shown";
        // Within the same monitor nothing is redrawn.
        const std::size_t presentedAfter = window.presented.size();
        w.Move(900, 900);
        EXPECT_EQ(window.presented.size(), presentedAfter);
    });
}

TEST_F(OverlayMonitorsTest, HintWithoutAPointerGoesOnThePrimaryNotOnTheSeam) {
    // Two equal monitors, the primary (holding the work area) on the right.
    screen.monitors = {{-1920, 0, 0, 1080}, {0, 0, 1920, 1080}};
    screen.workArea = {0, 0, 1920, 1040};
    screen.pointer.reset();
    RunWhile([&](FakeOverlayWindow&) { EXPECT_EQ(InfoBox(), (Rect{1920 + 810, 510, 1920 + 1110, 570})); });
}

TEST_F(OverlayMonitorsTest, MixedDpiVirtualScreenInPhysicalPixels) {
    // A 2880x1800 laptop panel at 150% as primary, a 1920x1080 monitor at 100% to its left,
    // lower by 360 pixels: a per-monitor aware process sees both in physical pixels.
    screen.monitors = {{0, 0, 2880, 1800}, {-1920, 360, 0, 1440}};
    screen.workArea = {0, 0, 2880, 1752};
    screen.pointer = Point{-1000, 900};
    RunWhile([&](FakeOverlayWindow& w) {
        EXPECT_EQ(window.shownArea, (Rect{-1920, 0, 2880, 1800}));
        EXPECT_EQ(overlay.Frame().width, 4800);
        EXPECT_EQ(overlay.Frame().height, 1800);
        EXPECT_EQ(test::PixelOf(*overlay.Selection().screen, 0, 360), fakes::FakeScreenSource::PixelAt(-1920, 360))
            << "the small monitor's top-left corner";
        // Hint on the small monitor: frozen-screen pixels (0, 360)-(1920, 1440).
        EXPECT_EQ(InfoBox(), (Rect{810, 870, 1110, 930}));
        // A selection at the small monitor's top: the box goes below it, not into the strip
        // above it that no monitor shows.
        w.Drag(100, 360, 300, 400);
        EXPECT_EQ(InfoBox(), (Rect{100, 402, 450, 462}));
        // Its whole height, with no room above or below: inside, along the bottom edge.
        w.Drag(500, 360, 700, 1440);
        EXPECT_EQ(InfoBox(), (Rect{500, 1378, 850, 1438}));
        // The laptop panel's whole height: inside too, by the panel's own bottom.
        w.Drag(2000, 0, 2100, 1790);
        EXPECT_EQ(InfoBox(), (Rect{2000, 1728, 2350, 1788}));
    });
    EXPECT_EQ(screen.lastGrab, (Rect{-1920, 0, 2880, 1800}));
}

TEST_F(OverlayMonitorsTest, OneMonitorKeepsTheWholeScreenRules) {
    RunWhile([&](FakeOverlayWindow& w) {
        EXPECT_EQ(InfoBox(), DefaultInfoPanel(1920, 1080).box);
        w.Drag(1800, 1000, 1900, 1070);
        EXPECT_EQ(InfoBox(), SelectionInfoPanel({1800, 1000, 1900, 1070}, 1920, 1080).box);
    });
}

TEST_F(OverlayMonitorsTest, TheFreezeWaitsBrieflyForOwnWindowsBeforeReadingTheScreen) {
    int grabsWhileWaiting = -1;
    settle.onAwait = [&] { grabsWhileWaiting = screen.grabCount; };
    RunWhile([](FakeOverlayWindow&) {});
    EXPECT_EQ(grabsWhileWaiting, 0);
    EXPECT_EQ(screen.grabCount, 1);
    ASSERT_EQ(settle.limits.size(), 1u);
    EXPECT_GT(settle.limits[0], 0);
    EXPECT_LE(settle.limits[0], 100);
}

} // namespace
} // namespace tovrik::capture
