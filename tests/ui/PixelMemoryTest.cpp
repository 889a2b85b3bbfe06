#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tovrik::ui {
namespace {

bool AllZero(const PixelBytes& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

TEST(PixelBytes, FreshStorageIsBlackAtEverySize) {
    // Below and above the size that comes from the system instead of the heap, and one that is
    // no whole number of large pages.
    for (const std::size_t size : {std::size_t{0}, std::size_t{64}, kLargePixelMemory - 4, kLargePixelMemory,
                                   std::size_t{3840} * 2160 * 4 + 12}) {
        PixelBytes bytes(size);
        EXPECT_EQ(bytes.size(), size);
        EXPECT_TRUE(AllZero(bytes)) << size;
        PixelBytes grown;
        grown.resize(size);
        EXPECT_TRUE(AllZero(grown)) << size;
    }
}

TEST(PixelBytes, KeepsContentThroughGrowthCopiesAndMoves) {
    PixelBytes bytes(1000, 7);
    bytes.back() = 9;
    bytes.resize(kLargePixelMemory * 3); // moves to system memory
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes[999], 9);
    EXPECT_EQ(bytes[1000], 0) << "what growth adds is black";
    EXPECT_EQ(bytes.back(), 0);
    bytes.back() = 5;

    const PixelBytes copy = bytes;
    EXPECT_EQ(copy, bytes);
    PixelBytes moved = std::move(bytes);
    EXPECT_EQ(moved.back(), 5);
    moved.assign(kLargePixelMemory + 1, 3);
    EXPECT_TRUE(std::all_of(moved.begin(), moved.end(), [](std::uint8_t b) { return b == 3; }));
    moved.clear();
    moved.shrink_to_fit();
    EXPECT_EQ(moved.capacity(), 0u);
}

TEST(PixelBytes, BitmapsOfAWholeScreenCanBeMadeAndFreedOverAndOver) {
    // Every capture takes and frees a few of these; nothing may be kept between them.
    for (int i = 0; i < 20; ++i) {
        Bitmap screen;
        screen.width = 3840;
        screen.height = 2160;
        screen.pixels.resize(screen.Stride() * static_cast<std::size_t>(screen.height));
        screen.pixels[static_cast<std::size_t>(i) * 4096] = 1;
        ASSERT_EQ(screen.pixels[static_cast<std::size_t>(i) * 4096 + 1], 0);
    }
}

} // namespace
} // namespace tovrik::ui
