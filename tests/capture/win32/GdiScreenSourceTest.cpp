#include "capture/win32/GdiScreenSource.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

TEST(Win32GdiScreenSource, GrabsTheVirtualScreenAtItsSize) {
    GdiScreenSource screen;
    ui::Bitmap probe;
    if (!screen.Grab({0, 0, 1, 1}, probe)) {
        GTEST_SKIP() << "no desktop to read (Wine without a display)";
    }
    const std::vector<Rect> monitors = screen.Monitors();
    ASSERT_FALSE(monitors.empty());
    Rect area = screen.WorkArea();
    for (const Rect& monitor : monitors) {
        area = area.United(monitor);
    }
    ui::Bitmap picture;
    ASSERT_TRUE(screen.Grab(area, picture));
    EXPECT_EQ(picture.width, area.Width());
    EXPECT_EQ(picture.height, area.Height());
    ASSERT_EQ(picture.pixels.size(), picture.Stride() * static_cast<std::size_t>(picture.height));
    EXPECT_EQ(picture.pixels[3], 0xFF) << "opaque";
    EXPECT_FALSE(screen.Grab({}, picture));
}

} // namespace
} // namespace tovrik::capture
