#include "capture/linux/RootImage.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

TEST(RootImageTest, AreasAreClippedToTheRootWindowWhichStartsAtTheOrigin) {
    // Wholly on the screen.
    ClippedArea clipped = ClipToScreen({0, 0, 3200, 1080}, 3200, 1080);
    EXPECT_EQ(clipped.onScreen, (Rect{0, 0, 3200, 1080}));
    EXPECT_EQ(clipped.offset, (Point{0, 0}));
    // A monitor reported left of the origin: that part of the picture stays black.
    clipped = ClipToScreen({-1280, 0, 1920, 1080}, 1920, 1080);
    EXPECT_EQ(clipped.onScreen, (Rect{0, 0, 1920, 1080}));
    EXPECT_EQ(clipped.offset, (Point{1280, 0}));
    clipped = ClipToScreen({100, -50, 300, 50}, 1920, 1080);
    EXPECT_EQ(clipped.onScreen, (Rect{100, 0, 300, 50}));
    EXPECT_EQ(clipped.offset, (Point{0, 50}));
    // Nothing of it on the screen.
    EXPECT_TRUE(ClipToScreen({2000, 0, 2100, 10}, 1920, 1080).onScreen.IsEmpty());
}

TEST(RootImageTest, PixelsOfEveryVisualBecomeBgra) {
    const XPixelLayout bgrx{32, true, 0xFF0000, 0xFF00, 0xFF};
    EXPECT_TRUE(bgrx.IsBgrx());
    EXPECT_EQ(PixelToBgra(0x123456, bgrx), 0xFF123456u);
    // 16-bit displays: full channels stay full, so white is white.
    const XPixelLayout rgb565{16, true, 0xF800, 0x07E0, 0x001F};
    EXPECT_FALSE(rgb565.IsBgrx());
    EXPECT_EQ(PixelToBgra(0xFFFF, rgb565), 0xFFFFFFFFu);
    EXPECT_EQ(PixelToBgra(0xF800, rgb565), 0xFFFF0000u);
    EXPECT_EQ(PixelToBgra(0x001F, rgb565), 0xFF0000FFu);
    EXPECT_EQ(PixelToBgra(0x0000, rgb565), 0xFF000000u);
    // 30-bit deep colour keeps the top 8 bits of each channel.
    const XPixelLayout deep{32, true, 0x3FF00000, 0xFFC00, 0x3FF};
    EXPECT_EQ(PixelToBgra(0x3FFFFFFF, deep), 0xFFFFFFFFu);
    EXPECT_EQ(PixelToBgra(0x20000000, deep), 0xFF800000u);
    EXPECT_FALSE((XPixelLayout{32, false, 0xFF0000, 0xFF00, 0xFF}.IsBgrx()));
}

} // namespace
} // namespace tovrik::capture
