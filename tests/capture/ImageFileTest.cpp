#include "CaptureTestSupport.h"
#include "Platform.h"

#include "capture/BmpCodec.h"
#include "capture/ImageFile.h"
#include "files/Files.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

using namespace std::string_literals;

Bytes CaptureBytes(int width = 24, int height = 16) {
    return ToBmpBytes(test::TestCard(width, height));
}

Bytes ReadAll(const std::string& path) {
    return files::ReadFile(path).value_or(Bytes{});
}

TEST(EncodeImage, AddsTheFormatsExtensionUnlessThePathEndsWithItInAnyCase) {
    test::TempFolder folder;
    const Bytes capture = CaptureBytes();
    const struct {
        int format;
        std::string name;
        std::string written;
    } cases[] = {
        {5, "1607321234.png", "1607321234.png"},
        {5, "shot", "shot.png"},
        {5, "SHOT.PNG", "SHOT.PNG"},
        {4, "scan.tif", "scan.tif.tiff"},
        {2, "photo.JPG", "photo.JPG"},
        {1, "plain", "plain.bmp"},
        {3, "anim.gif", "anim.gif"},
    };
    for (const auto& c : cases) {
        Bytes output = "old";
        ASSERT_TRUE(EncodeImage(capture, c.format, folder.File(c.name), output)) << c.name;
        EXPECT_TRUE(folder.Exists(c.written)) << c.name;
        EXPECT_EQ(ReadAll(folder.File(c.written)), output) << c.name;
    }
}

TEST(EncodeImage, ReplacesOutputWithTheEncodedBytesWithoutAFile) {
    Bytes output = "old";
    ASSERT_TRUE(EncodeImage(CaptureBytes(), 5, "  ", output)) << "a blank path writes no file";
    EXPECT_EQ(ImageTypeOfBytes(output), "PNG");
    EXPECT_EQ(ImageTypeOfBytes(ToJpegBytes(CaptureBytes())), "JPEG");
    EXPECT_TRUE(ToJpegBytes("not an image").empty());
}

TEST(EncodeImage, LeavesOutputAndDiskUntouchedOnFailure) {
    test::TempFolder folder;
    const Bytes capture = CaptureBytes();
    Bytes output = "old";
    EXPECT_FALSE(EncodeImage("BM", 5, folder.File("a"), output)) << "2 bytes";
    EXPECT_FALSE(EncodeImage("garbage that is no image", 5, folder.File("b"), output));
    EXPECT_FALSE(EncodeImage(capture, 6, folder.File("c"), output)) << "unknown format";
    EXPECT_FALSE(EncodeImage(capture, 0, {}, output));
    EXPECT_EQ(output, "old");
    EXPECT_FALSE(folder.Exists("a.png"));
    EXPECT_FALSE(folder.Exists("b.png"));
    // A file that cannot be written is a failure too, not a success without a file.
    EXPECT_FALSE(EncodeImage(capture, 5, folder.File("missing-folder/shot.png"), output));
    EXPECT_EQ(output, "old");
}

TEST(SaveImageFile, ChoosesTheEncoderByTheExactLowerCaseExtension) {
    test::TempFolder folder;
    const ui::Bitmap card = test::TestCard(16, 8);
    const struct {
        std::string name;
        const char* type;
    } cases[] = {
        {"a.png", "PNG"},  {"a.PNG", "BMP"},  {"a.jpeg", "BMP"}, {"a.jpg", "JPEG"}, {"a.gif", "GIF"},
        {"a.tif", "TIFF"}, {"a.tiff", "BMP"}, {"a.bmp", "BMP"},  {"noext", "BMP"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SaveImageFile(card, folder.File(c.name))) << c.name;
        EXPECT_EQ(ImageFileType(folder.File(c.name)), c.type) << c.name;
    }
    // An explicit format wins over the extension.
    ASSERT_TRUE(SaveImageFile(card, folder.File("x.bmp"), "png"));
    EXPECT_EQ(ImageFileType(folder.File("x.bmp")), "PNG");
    EXPECT_FALSE(SaveImageFile(ui::Bitmap{}, folder.File("empty.png")));
    EXPECT_FALSE(SaveImageFile(card, ""));
    EXPECT_FALSE(SaveImageFile(card, folder.File("missing-folder/a.png")));
}

TEST(SaveImageFile, NormalisesSeparatorsAndClampsJpegQuality) {
    test::TempFolder folder;
    const ui::Bitmap card = test::TestCard(64, 64);
    // A doubled separator, the second one the other platform's.
    ASSERT_TRUE(SaveImageFile(card, folder.File("") + (files::PathSeparator() == '/' ? "\\q.jpg" : "/q.jpg")));
    EXPECT_EQ(ImageFileType(folder.File("q.jpg")), "JPEG");

    ASSERT_TRUE(SaveImageFile(card, folder.File("low.jpg"), {}, -20));
    ASSERT_TRUE(SaveImageFile(card, folder.File("zero.jpg"), {}, 0));
    ASSERT_TRUE(SaveImageFile(card, folder.File("high.jpg"), {}, 400));
    ASSERT_TRUE(SaveImageFile(card, folder.File("default.jpg")));
    EXPECT_EQ(ReadAll(folder.File("low.jpg")), ReadAll(folder.File("zero.jpg")));
    EXPECT_EQ(ReadAll(folder.File("high.jpg")), ReadAll(folder.File("default.jpg"))) << "quality 100 by default";
    if (test::JpegQualityIsHonoured()) {
        EXPECT_LT(ReadAll(folder.File("zero.jpg")).size(), ReadAll(folder.File("default.jpg")).size());
    }
}

TEST(ImageFileType, FollowsTheSignatureTableInOrder) {
    const auto padded = [](Bytes head) {
        head.resize(16, '\x11');
        return head;
    };
    const struct {
        Bytes head;
        const char* type;
    } cases[] = {
        {padded("\xFF\xD8\xFF\xE0"), "JPEG"},
        {"\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, "PNG"},
        {padded("\x89PNG\r\n\x1a\n\0\0\0\x0cIHDR"s), ""},
        {padded("GIF89a"), "GIF"},
        {padded("GIF8"), "GIF"},
        {padded("II*\0"s), "TIFF"},
        {padded("MM\0*"s), "TIFF"},
        {padded("BM"), "BMP"},
        {padded("\x0a\x05"), "PCX"},
        {padded("<!DOCTYPE html>"), "SVG"},
        {padded("8BPS\0\x01\0\0\0\0\0\0\0"s), "PSD"},
        {padded("FWS"), "SWF"},
        {padded("\xD7\xCD\xC6\x9A\0\0"s), "WMF"},
        {padded("\x01\0\0\0"s), "EMF"},
        {padded("\xC5\xD0\xD3\xC6"), "EPS"},
        {padded("\0\0\x02\0\0"s), "TGA"}, // a cursor whose fifth byte is 0
        {padded("\0\0\x10\0\0"s), "TGA"},
        {padded("\0\0\x01\0\x01"s), "ICO"},
        {padded("\0\0\x02\0\x01"s), "CUR"},
        {padded("RIFF"), "ANI"},
        {padded("FORM"), "IFF"},
        {padded("hello"), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageTypeOfBytes(c.head), c.type) << ::testing::PrintToString(c.head);
    }
    EXPECT_EQ(ImageTypeOfBytes("\x89PNG\r\n\x1a\n"), "") << "fewer than 16 bytes";
}

TEST(ImageFileType, ReadsTheFilesFirstBytes) {
    test::TempFolder folder;
    ASSERT_TRUE(files::WriteFile(folder.File("ten"), "BM12345678"));
    ASSERT_TRUE(files::WriteFile(folder.File("page.html"), "<html><body>hello</body></html>"));
    ASSERT_TRUE(SaveImageFile(test::TestCard(4, 4), folder.File("p.png")));
    EXPECT_EQ(ImageFileType(folder.File("ten")), "") << "a 10-byte file";
    EXPECT_EQ(ImageFileType(folder.File("page.html")), "SVG");
    EXPECT_EQ(ImageFileType(folder.File("p.png")), "PNG");
    EXPECT_EQ(ImageFileType(folder.File("absent.png")), "");
}

} // namespace
} // namespace tovrik::capture
