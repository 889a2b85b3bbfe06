#include "CaptureTestSupport.h"
#include "ImageFixtures.h"

#include "capture/ImageCodec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace tovrik::capture {
namespace {

// Files written by the Linux build's libraries and by GDI+ on Windows, decoded by this build:
// each build reads what the other writes.
TEST(ImageFixtures, EveryBuildDecodesBothBuildsFiles) {
    const ui::Bitmap few = test::FewColours(16, 8);
    const ui::Bitmap smooth = test::Smooth(16, 16);
    for (const test::Fixture& fixture : test::kImageFixtures) {
        const std::optional<ui::Bitmap> decoded = DecodeImageBytes(fixture.bytes);
        ASSERT_TRUE(decoded.has_value()) << fixture.name;
        const ui::Bitmap& expected = fixture.lossy ? smooth : few;
        ASSERT_EQ(decoded->width, expected.width) << fixture.name;
        ASSERT_EQ(decoded->height, expected.height) << fixture.name;
        int worst = 0;
        for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
            const int difference = std::abs(int{decoded->pixels[i]} - int{expected.pixels[i]});
            worst = std::max(worst, i % 4 == 3 ? (difference == 0 ? 0 : 255) : difference);
        }
        EXPECT_LE(worst, fixture.lossy ? 12 : 0) << fixture.name;
    }
}

// Run with --gtest_also_run_disabled_tests to print this build's files for ImageFixtures.cpp.
TEST(ImageFixtures, DISABLED_PrintThisBuildsFiles) {
    const ui::Bitmap few = test::FewColours(16, 8);
    const ui::Bitmap smooth = test::Smooth(16, 16);
    const struct {
        const char* name;
        const ui::Bitmap* image;
        ImageFormat format;
        std::optional<int> quality;
    } outputs[] = {
        {"bmp", &few, ImageFormat::Bmp, std::nullopt}, {"png", &few, ImageFormat::Png, std::nullopt},
        {"gif", &few, ImageFormat::Gif, std::nullopt}, {"tiff", &few, ImageFormat::Tiff, std::nullopt},
        {"jpeg", &smooth, ImageFormat::Jpeg, 90},
    };
    for (const auto& output : outputs) {
        const Bytes bytes = EncodeBitmap(*output.image, output.format, output.quality).value_or("");
        std::printf("    {\"%s\", %s,\n     \"", output.name, output.image == &smooth ? "true" : "false");
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::printf("\\x%02X", static_cast<unsigned char>(bytes[i]));
            if (i % 32 == 31 && i + 1 < bytes.size()) {
                std::printf("\"\n     \"");
            }
        }
        std::printf("\"s},\n");
    }
}

} // namespace
} // namespace tovrik::capture
