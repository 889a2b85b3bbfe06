#include "CaptureTestSupport.h"
#include "Platform.h"

#include "capture/BmpCodec.h"
#include "capture/ImageCodec.h"
#include "capture/IndexedImage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tovrik::capture {
namespace {

using namespace std::string_literals;

// The largest difference of any colour channel; alpha is not compared.
int MaxChannelDifference(const ui::Bitmap& a, const ui::Bitmap& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
        if (i % 4 != 3) {
            worst = std::max(worst, std::abs(int{a.pixels[i]} - int{b.pixels[i]}));
        }
    }
    return worst;
}

double MeanChannelDifference(const ui::Bitmap& a, const ui::Bitmap& b) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
        if (i % 4 != 3) {
            sum += std::abs(int{a.pixels[i]} - int{b.pixels[i]});
            ++count;
        }
    }
    return count == 0 ? 0 : sum / static_cast<double>(count);
}

TEST(ImageCodec, LosslessFormatsGiveBackTheSamePixels) {
    const ui::Bitmap card = test::TestCard(33, 17);
    for (const ImageFormat format : {ImageFormat::Bmp, ImageFormat::Png, ImageFormat::Tiff}) {
        const std::optional<Bytes> encoded = EncodeBitmap(card, format);
        ASSERT_TRUE(encoded.has_value()) << static_cast<int>(format);
        const std::optional<ui::Bitmap> decoded = DecodeImageBytes(*encoded);
        ASSERT_TRUE(decoded.has_value()) << static_cast<int>(format);
        EXPECT_EQ(decoded->width, 33);
        EXPECT_EQ(decoded->height, 17);
        EXPECT_EQ(decoded->pixels, card.pixels) << static_cast<int>(format);
    }
}

TEST(ImageCodec, EncodingIgnoresAlpha) {
    ui::Bitmap card = test::TestCard(8, 8);
    for (std::size_t i = 3; i < card.pixels.size(); i += 4) {
        card.pixels[i] = 0; // as in the capture BMP's pixels
    }
    const std::optional<ui::Bitmap> decoded = DecodeImageBytes(EncodeBitmap(card, ImageFormat::Png).value_or(""));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(test::PixelOf(*decoded, 3, 3) >> 24, 0xFFu);
}

TEST(ImageCodec, JpegStaysCloseAndQualityMatters) {
    const ui::Bitmap card = test::Smooth(64, 48);
    const std::optional<Bytes> best = EncodeBitmap(card, ImageFormat::Jpeg, 100);
    const std::optional<Bytes> worst = EncodeBitmap(card, ImageFormat::Jpeg, 5);
    const std::optional<Bytes> standard = EncodeBitmap(card, ImageFormat::Jpeg);
    ASSERT_TRUE(best && worst && standard);
    if (test::JpegQualityIsHonoured()) {
        EXPECT_LT(worst->size(), standard->size());
        EXPECT_LT(standard->size(), best->size());
    }
    const std::optional<ui::Bitmap> decoded = DecodeImageBytes(*best);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, 64);
    EXPECT_EQ(decoded->height, 48);
    EXPECT_LE(MeanChannelDifference(*decoded, card), 1.5);
    EXPECT_LE(MaxChannelDifference(*decoded, card), 8);
    EXPECT_EQ(test::PixelOf(*decoded, 0, 0) >> 24, 0xFFu);
}

TEST(ImageCodec, GifKeepsUpTo256ColoursExactlyAndApproximatesMore) {
    const ui::Bitmap few = test::FewColours(40, 30);
    const std::optional<ui::Bitmap> exact = DecodeImageBytes(EncodeBitmap(few, ImageFormat::Gif).value_or(""));
    ASSERT_TRUE(exact.has_value());
    EXPECT_EQ(exact->pixels, few.pixels);

    const ui::Bitmap many = test::TestCard(256, 64);
    const std::optional<Bytes> gif = EncodeBitmap(many, ImageFormat::Gif);
    ASSERT_TRUE(gif.has_value());
    EXPECT_TRUE(gif->starts_with("GIF89a"));
    const std::optional<ui::Bitmap> approx = DecodeImageBytes(*gif);
    ASSERT_TRUE(approx.has_value());
    EXPECT_EQ(approx->width, 256);
    // The colour cube's levels are at most 51 apart on red and blue.
    EXPECT_LE(MaxChannelDifference(*approx, many), 26);
    EXPECT_GT(MaxChannelDifference(*approx, many), 0);
}

TEST(ImageCodec, RejectsWhatIsNoImage) {
    EXPECT_FALSE(DecodeImageBytes("").has_value());
    EXPECT_FALSE(DecodeImageBytes("hello, world").has_value());
    const Bytes png = EncodeBitmap(test::TestCard(20, 20), ImageFormat::Png).value_or("");
    EXPECT_FALSE(DecodeImageBytes(png.substr(0, png.size() / 2)).has_value()) << "truncated PNG";
    EXPECT_FALSE(DecodeImageBytes("GIF89a\x01\x00"s).has_value());
    EXPECT_FALSE(DecodeImageBytes("II*\0\x08\0\0\0"s).has_value());
    EXPECT_FALSE(EncodeBitmap(ui::Bitmap{}, ImageFormat::Png).has_value());
}

TEST(IndexedImage, ReducesExactlyOrToTheCube) {
    const IndexedImage few = IndexedImage::From(test::FewColours(9, 9));
    EXPECT_EQ(few.palette.size(), 3u);
    EXPECT_EQ(few.palette[few.indices[0]], (Color{0x10, 0x20, 0x30}));
    const IndexedImage many = IndexedImage::From(test::TestCard(300, 2));
    EXPECT_EQ(many.palette.size(), 252u);
    EXPECT_EQ(many.palette[many.indices[0]], (Color{0, 0, 0x33})) << "blue 0x20 is nearest to level 0x33";
}

// Hand-made BMPs of the kinds other programs write.
Bytes BmpHeader(std::uint32_t headerSize, std::int32_t width, std::int32_t height, std::uint16_t bits,
                std::uint32_t compression, std::uint32_t paletteBytes, std::uint32_t pixelBytes) {
    Bytes out = "BM";
    const auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    const auto put16 = [&out](std::uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    };
    const std::uint32_t offset = 14 + headerSize + paletteBytes;
    put32(offset + pixelBytes);
    put32(0);
    put32(offset);
    put32(headerSize);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);
    put16(bits);
    put32(compression);
    put32(pixelBytes);
    put32(0);
    put32(0);
    put32(0);
    put32(0);
    return out;
}

TEST(BmpDecoder, ReadsPalettesBitFieldsAndTopDownRows) {
    // 8-bit, 3 x 2, bottom-up, two palette entries.
    Bytes indexed = BmpHeader(40, 3, 2, 8, 0, 8, 8);
    indexed += "\x00\x00\xFF\x00\xFF\x00\x00\x00"s; // red, blue
    indexed += "\x00\x01\x00\x00\x01\x01\x01\x00"s; // bottom row, top row (padded to 4)
    std::optional<ui::Bitmap> image = DecodeBmp(indexed);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(test::PixelOf(*image, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(test::PixelOf(*image, 1, 1), 0xFF0000FFu);
    EXPECT_EQ(test::PixelOf(*image, 0, 1), 0xFFFF0000u);

    // 16-bit 5-6-5 bit fields, 1 x 1.
    Bytes fields = BmpHeader(40, 1, 1, 16, 3, 12, 4);
    fields += "\x00\xF8\x00\x00\xE0\x07\x00\x00\x1F\x00\x00\x00"s;
    fields += "\xE0\x07\x00\x00"s; // pure green
    image = DecodeBmp(fields);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(test::PixelOf(*image, 0, 0), 0xFF00FF00u);

    // 24-bit top-down (negative height), 2 x 2.
    Bytes topDown = BmpHeader(40, 2, -2, 24, 0, 0, 16);
    topDown += "\x01\x02\x03\x04\x05\x06\x00\x00\x07\x08\x09\x0A\x0B\x0C\x00\x00"s;
    image = DecodeBmp(topDown);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(test::PixelOf(*image, 0, 0), 0xFF030201u);
    EXPECT_EQ(test::PixelOf(*image, 1, 1), 0xFF0C0B0Au);

    EXPECT_FALSE(DecodeBmp(topDown.substr(0, topDown.size() - 1)).has_value()) << "truncated pixels";
    EXPECT_FALSE(DecodeBmp(BmpHeader(40, 2, 2, 8, 1, 0, 0)).has_value()) << "run-length data missing";
    EXPECT_FALSE(DecodeBmp(BmpHeader(40, 0x10000, 0x10000, 32, 0, 0, 0)).has_value()) << "too large";
}

// Run-length encoded BMPs, as ImageMagick writes palette pictures by default: encoded runs,
// literal runs (padded to 16 bits), line ends, a delta and the end mark.
TEST(BmpDecoder, ReadsRunLengthEncodedPictures) {
    const std::string palette = "\x00\x00\x00\x00\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00"s; // black red green blue
    const std::uint32_t black = 0xFF000000u;
    const std::uint32_t red = 0xFFFF0000u;
    const std::uint32_t green = 0xFF00FF00u;
    const std::uint32_t blue = 0xFF0000FFu;

    // RLE8, 5 x 3, rows bottom-up: bottom "RRRGB", middle "B" then a delta of 2 right, 1 up to
    // the top row's fourth pixel, "G", end of picture.
    const std::string rle8 = "\x03\x01\x00\x03\x02\x03\x00\x00"s // 3 x red; literal green, blue (padded)
                             "\x00\x00"s                               // end of line
                             "\x01\x03\x00\x02\x02\x01"s            // blue; delta (2, 1)
                             "\x01\x02\x00\x01"s;                    // green; end
    std::optional<ui::Bitmap> image = DecodeBmp(BmpHeader(40, 5, 3, 8, 1, 16, static_cast<std::uint32_t>(rle8.size())) +
                                                palette + rle8);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, 5);
    ASSERT_EQ(image->height, 3);
    const std::uint32_t bottom[] = {red, red, red, green, blue};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(test::PixelOf(*image, x, 2), bottom[x]) << x;
    }
    EXPECT_EQ(test::PixelOf(*image, 0, 1), blue);
    EXPECT_EQ(test::PixelOf(*image, 1, 1), black) << "skipped pixels take colour 0";
    EXPECT_EQ(test::PixelOf(*image, 3, 0), green);
    EXPECT_EQ(test::PixelOf(*image, 4, 0), black);

    // RLE4, 4 x 1: an encoded run alternating red and green, then a literal run of 1 blue
    // (3 nibbles of data would do; a run past the width is clipped).
    const std::string rle4 = "\x03\x12\x00\x03\x30\x00\x00\x01"s;
    image = DecodeBmp(BmpHeader(40, 4, 1, 4, 2, 16, static_cast<std::uint32_t>(rle4.size())) + palette + rle4);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(test::PixelOf(*image, 0, 0), red);
    EXPECT_EQ(test::PixelOf(*image, 1, 0), green);
    EXPECT_EQ(test::PixelOf(*image, 2, 0), red);
    EXPECT_EQ(test::PixelOf(*image, 3, 0), blue);

    // Through the general decoder too, and a run-length picture far larger than its data.
    EXPECT_TRUE(DecodeImageBytes(BmpHeader(40, 4, 1, 4, 2, 16, 8) + palette + rle4).has_value());
    EXPECT_FALSE(DecodeBmp(BmpHeader(40, 5000, 5000, 8, 1, 16, 4) + palette + "\x00\x01\x00\x01"s).has_value());
}

} // namespace
} // namespace tovrik::capture
