#include "CaptureTestSupport.h"

#include "capture/BmpCodec.h"
#include "capture/ImageCodec.h"
#include "capture/ImageFile.h"
#include "capture/PictureSize.h"
#include "files/Files.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

using namespace std::string_literals;

TEST(PictureSize, ReadsTheHeaderOfEveryFormatTheEncodersWrite) {
    const ui::Bitmap card = test::TestCard(37, 21);
    for (const ImageFormat format :
         {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Gif, ImageFormat::Tiff, ImageFormat::Png}) {
        const std::optional<Bytes> encoded = EncodeBitmap(card, format);
        ASSERT_TRUE(encoded.has_value()) << static_cast<int>(format);
        const std::optional<PictureSize> size = PictureSizeOf(*encoded);
        ASSERT_TRUE(size.has_value()) << static_cast<int>(format);
        EXPECT_EQ(size->width, 37u) << static_cast<int>(format);
        EXPECT_EQ(size->height, 21u) << static_cast<int>(format);
        EXPECT_FALSE(PictureTooLarge(*encoded));
    }
    const std::optional<PictureSize> capture = PictureSizeOf(ToBmpBytes(card));
    ASSERT_TRUE(capture.has_value());
    EXPECT_EQ(capture->Pixels(), 37u * 21u);
}

TEST(PictureSize, NothingForTextsAndCutHeaders) {
    EXPECT_FALSE(PictureSizeOf("").has_value());
    EXPECT_FALSE(PictureSizeOf("just some text, named .png").has_value());
    EXPECT_FALSE(PictureSizeOf("\x89PNG\r\n\x1a\n\0\0\0\x0dIHD"s).has_value());
    EXPECT_FALSE(PictureSizeOf("\xFF\xD8\xFF\xE0\x00\x10JFIF"s).has_value()) << "no frame header yet";
    EXPECT_FALSE(PictureSizeOf("II*\0\xFF\xFF\xFF\x0F"s).has_value()) << "directory past the end";
}

// A PNG header claiming 16000 x 16000 (a gigabyte of pixels) and nothing behind it: refused
// from the header, before the decoder asks for the memory.
Bytes HugePngHeader() {
    return "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x3e\x80\0\0\x3e\x80\x08\x06\0\0\0\0\0\0\0"s;
}

TEST(PictureSize, PicturesOverTheLimitAreRefusedFromTheirHeader) {
    const Bytes png = HugePngHeader();
    const std::optional<PictureSize> size = PictureSizeOf(png);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 16000u);
    EXPECT_EQ(size->Pixels(), 256'000'000u);
    EXPECT_TRUE(PictureTooLarge(png));
    EXPECT_FALSE(DecodeImageBytes(png).has_value());
    EXPECT_TRUE(ToJpegBytes(png).empty());

    // The same for a BMP of 10001 x -10000 (top-down), a JPEG frame and a GIF screen under it.
    Bytes bmp = ToBmpBytes(test::TestCard(2, 2));
    bmp.replace(18, 8, "\x11\x27\0\0\xF0\xD8\xFF\xFF"s);
    EXPECT_TRUE(PictureTooLarge(bmp));
    EXPECT_FALSE(DecodeImageBytes(bmp).has_value());
    const Bytes jpeg = "\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x3e\x80\x3e\x80\x03"s;
    EXPECT_TRUE(PictureTooLarge(jpeg));
    EXPECT_FALSE(PictureTooLarge("GIF89a\xff\xff\x01\x00"s)) << "65535 x 1";
}

} // namespace
} // namespace tovrik::capture
