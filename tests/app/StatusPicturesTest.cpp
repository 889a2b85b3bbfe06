#include "app/StatusPictures.h"

#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

unsigned BigEndian32(BytesView bytes, std::size_t at) {
    unsigned value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

TEST(StatusPicturesTest, BothAre28By28PngPicturesAndDiffer) {
    for (const BytesView picture : {OkPicture(), FailPicture()}) {
        ASSERT_GT(picture.size(), 33u);
        EXPECT_EQ(picture.substr(0, 8), BytesView("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(picture.substr(12, 4), "IHDR");
        EXPECT_EQ(BigEndian32(picture, 16), 28u);
        EXPECT_EQ(BigEndian32(picture, 20), 28u);
        EXPECT_EQ(picture.substr(picture.size() - 8, 4), "IEND");
    }
    EXPECT_NE(OkPicture(), FailPicture());
}

} // namespace
} // namespace tovrik::app
