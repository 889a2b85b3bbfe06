#include "capture/MonitorLayout.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

// 1920x1080 primary with a 1280x1024 monitor to its right, top edges aligned.
const std::vector<Rect> kUneven{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
const Rect kUnevenArea{0, 0, 3200, 1080};

TEST(MonitorLayout, PicksTheMonitorHoldingMostOfARectangle) {
    const MonitorLayout layout(kUneven, {0, 0, 1920, 1040}, kUnevenArea);
    EXPECT_EQ(layout.Holding({2500, 0, 2700, 1000}), kUneven[1]);
    // Across the seam: 120 pixels on the left one, 80 on the right one.
    EXPECT_EQ(layout.Holding({1800, 100, 2000, 200}), kUneven[0]);
    EXPECT_EQ(layout.Holding({1880, 100, 2080, 200}), kUneven[1]);
    // A reversed rectangle (a drag going up and left) counts as its normalised self.
    EXPECT_EQ(layout.Holding({2700, 1000, 2500, 0}), kUneven[1]);
    // Below the shorter monitor lies no monitor: the part on the taller one decides.
    EXPECT_EQ(layout.Holding({1900, 1030, 2500, 1070}), kUneven[0]);
}

TEST(MonitorLayout, PointsAndRectanglesOffEveryMonitorGoToThePrimary) {
    // The primary monitor is the one holding the work area, listed first or not.
    const MonitorLayout layout({kUneven[1], kUneven[0]}, {0, 0, 1920, 1040}, kUnevenArea);
    EXPECT_EQ(layout.Primary(), kUneven[0]);
    EXPECT_EQ(layout.At({3000, 1050}), kUneven[0]) << "the corner under the shorter monitor";
    EXPECT_EQ(layout.At({3000, 1000}), kUneven[1]);
    // A selection moved off the screen (moves are not clamped).
    EXPECT_EQ(layout.Holding({-500, -300, -100, -50}), kUneven[0]);
    // A click selects no area but still has a place.
    EXPECT_EQ(layout.Holding({2000, 10, 2000, 10}), kUneven[1]);
}

TEST(MonitorLayout, AnswersInFrozenScreenPixels) {
    // A monitor left of and below the primary's top: the frozen picture starts at (-1280, 0).
    const MonitorLayout layout({{0, 0, 1920, 1080}, {-1280, 56, 0, 1080}}, {0, 0, 1920, 1040}, {-1280, 0, 1920, 1080});
    EXPECT_EQ(layout.Primary(), (Rect{1280, 0, 3200, 1080}));
    EXPECT_EQ(layout.At({10, 100}), (Rect{0, 56, 1280, 1080}));
    EXPECT_EQ(layout.At({10, 10}), (Rect{1280, 0, 3200, 1080})) << "above the left monitor";
}

TEST(MonitorLayout, WithoutMonitorsTheWholeAreaIsOne) {
    const MonitorLayout layout({}, {0, 0, 1024, 740}, {0, 0, 1024, 768});
    EXPECT_EQ(layout.Primary(), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(layout.Holding({10, 10, 20, 20}), (Rect{0, 0, 1024, 768}));
}

} // namespace
} // namespace tovrik::capture
