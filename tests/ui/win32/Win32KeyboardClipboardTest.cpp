#include "ui/win32/Win32Clipboard.h"
#include "ui/win32/Win32Keyboard.h"
#include "util/Win32Desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace tovrik::ui::win32 {
namespace {

TEST(Win32Keyboard, NamesKeysAsTheHotkeyTextSpellsThem) {
    TOVRIK_REQUIRE_DESKTOP();
    const Win32Keyboard keyboard;
    EXPECT_EQ(keyboard.KeyName(VK_F8), "F8");
    EXPECT_EQ(keyboard.KeyName('A'), "A");
    // The layout names the modifiers: "Ctrl" on Windows, "Control" under Wine's X11 layout.
    EXPECT_THAT(keyboard.KeyName(VK_CONTROL), testing::AnyOf("Ctrl", "Control"));
    EXPECT_EQ(keyboard.KeyName(VK_MENU), "Alt");
    EXPECT_FALSE(keyboard.IsKeyDown(VK_F24));
}

class Win32ClipboardTest : public testing::Test {
protected:
    void SetUp() override { TOVRIK_REQUIRE_DESKTOP(); }

    // Holds the clipboard open for reading while it lives.
    struct Reading {
        Reading() : open(OpenClipboard(nullptr) != 0) {}
        ~Reading() {
            if (open) {
                CloseClipboard();
            }
        }
        bool open;
    };
};

TEST_F(Win32ClipboardTest, APictureBecomesABitmapOfItsSizeAndColours) {
    Bitmap picture{.width = 3, .height = 2, .pixels = {}};
    for (int i = 0; i < 6; ++i) {
        picture.pixels.insert(picture.pixels.end(), {static_cast<std::uint8_t>(10 * i), 0x40, 0x80, 0xFF});
    }
    Win32Clipboard clipboard;
    ASSERT_TRUE(clipboard.SetImage(picture));

    const Reading reading;
    ASSERT_TRUE(reading.open);
    auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = 3;
    format.bmiHeader.biHeight = -2;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::uint8_t pixels[24] = {};
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, bitmap, 0, 2, pixels, &format, DIB_RGB_COLORS), 2);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixels[4 * 5], 50) << "the last pixel's blue";
    EXPECT_EQ(pixels[4 * 5 + 1], 0x40);
    EXPECT_EQ(pixels[4 * 5 + 2], 0x80);
}

TEST_F(Win32ClipboardTest, TextGoesOnAsUnicodeAndReadsBackInTheCodePage) {
    Win32Clipboard clipboard;
    ASSERT_TRUE(clipboard.SetText("识别结果 OCR\r\n"));
    const Reading reading;
    ASSERT_TRUE(reading.open);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring text(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    EXPECT_EQ(text, L"\u8BC6\u522B\u7ED3\u679C OCR\r\n");
}

TEST_F(Win32ClipboardTest, AnEmptyPictureIsRefused) {
    Win32Clipboard clipboard;
    EXPECT_FALSE(clipboard.SetImage(Bitmap{}));
}

} // namespace
} // namespace tovrik::ui::win32
