#include "ui/linux/PictureImage.h"
#include "ui/linux/QtText.h"
#include "ui/linux/TestHook.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace tovrik::ui {
namespace {

// A capture BMP: 44-byte info header, one colour entry, bottom-up 32-bit rows.
Bytes CaptureBmp(int width, int height, std::uint32_t topRow, std::uint32_t otherRows) {
    const std::uint32_t imageSize = static_cast<std::uint32_t>(width * height * 4);
    Bytes bytes(58 + imageSize, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); };
    auto put16 = [&](std::size_t at, std::uint16_t value) { std::memcpy(bytes.data() + at, &value, 2); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 58 + imageSize);
    put32(10, 58);
    put32(14, 44);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, 32);
    put32(34, imageSize);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t pixel = row == height - 1 ? topRow : otherRows;
        for (int x = 0; x < width; ++x) {
            put32(58 + static_cast<std::size_t>((row * width + x) * 4), pixel);
        }
    }
    return bytes;
}

TEST(PictureImageTest, ReadsTheCaptureBmpLayout) {
    const QImage image = DecodePicture(CaptureBmp(100, 40, 0x00FF0000, 0x000000FF));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(100, 40));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u); // the last row stored is the top one
    EXPECT_EQ(image.pixel(99, 39) & 0xFFFFFF, 0x0000FFu);
}

TEST(PictureImageTest, NoImageFromOtherBytes) {
    EXPECT_TRUE(DecodePicture("").isNull());
    EXPECT_TRUE(DecodePicture("BM not a picture at all").isNull());
    Bytes truncated = CaptureBmp(4, 4, 0, 0);
    truncated.resize(30);
    EXPECT_TRUE(DecodePicture(truncated).isNull());
}

TEST(QtTextTest, ProgramTextAndUtf16MeetAtTheEdge) {
    EXPECT_EQ(ToQString("截图并翻译"), QStringLiteral("截图并翻译"));
    EXPECT_EQ(FromQString(QStringLiteral("热键冲突或无效")), "热键冲突或无效");
    EXPECT_EQ(FromEditText(QStringLiteral("一\n二\r\n三")), "一\r\n二\r\n三");
    EXPECT_EQ(ToEditText("一\r\n二"), QStringLiteral("一\n二"));
}

TEST(TestHookTest, ReportsStayOnOneLine) {
    EXPECT_EQ(TestHook::Escape("a\r\nb\\c"), "a\\r\\nb\\\\c");
}

} // namespace
} // namespace tovrik::ui
