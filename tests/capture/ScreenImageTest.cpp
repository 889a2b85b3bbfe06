#include "CaptureTestSupport.h"
#include "fakes/FakeFileDialogHost.h"
#include "fakes/FakeOverlayWindow.h"
#include "fakes/FakeScreenSettle.h"
#include "fakes/FakeScreenSource.h"

#include "capture/BmpCodec.h"
#include "capture/CaptureOverlay.h"
#include "capture/ScreenImage.h"

#include <gtest/gtest.h>

namespace tovrik::capture {
namespace {

using fakes::FakeOverlayWindow;
using fakes::FakeScreenSource;

std::uint32_t Read32(BytesView bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint32_t Read16(BytesView bytes, std::size_t at) {
    return Read32(Bytes(bytes.substr(at, 2)) + Bytes(2, '\0'), 0);
}

class ScreenImageTest : public ::testing::Test {
protected:
    FakeScreenSource screen;
    fakes::FakeScreenSettle settle;
    FakeOverlayWindow window;
    fakes::FakeFileDialogHost dialogs;
    test::ManualClock clock;
    test::RecordingClipboard clipboard;
    CaptureOverlay overlay{screen, settle, window, dialogs, clock};

    void SelectOnScreen(int left, int top, int right, int bottom) {
        window.script = [=](FakeOverlayWindow& w) {
            w.Drag(left, top, right, bottom);
            w.DoubleClick(left + 1, top + 1);
        };
    }
};

TEST_F(ScreenImageTest, KeepsTheSelectionAndPutsExactlyItOnTheClipboard) {
    screen.monitors = {{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
    SelectOnScreen(50, 10, 150, 50);
    ScreenImage image(overlay, clipboard);
    ASSERT_TRUE(image.SelectArea(true));
    EXPECT_EQ(image.Width(), 100);
    EXPECT_EQ(image.Height(), 40);
    ASSERT_TRUE(clipboard.image.has_value());
    EXPECT_EQ(clipboard.image->width, 100);
    EXPECT_EQ(clipboard.image->height, 40);
    EXPECT_EQ(test::PixelOf(*clipboard.image, 0, 0), FakeScreenSource::PixelAt(-1230, 10));
    EXPECT_EQ(test::PixelOf(*clipboard.image, 99, 39), FakeScreenSource::PixelAt(-1131, 49));
    EXPECT_TRUE(overlay.Frame().Empty()) << "the overlay is reset after the copy";
}

TEST_F(ScreenImageTest, BmpBytesOfA100By40CaptureHaveTheCaptureLayout) {
    SelectOnScreen(50, 10, 150, 50);
    ScreenImage image(overlay, clipboard);
    ASSERT_TRUE(image.SelectArea(false));
    EXPECT_EQ(clipboard.writes, 0);
    const Bytes bmp = image.ToBmpBytes();
    ASSERT_EQ(bmp.size(), 16058u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Read32(bmp, 2), 16058u) << "file size";
    EXPECT_EQ(Read32(bmp, 6), 0u) << "reserved";
    EXPECT_EQ(Read32(bmp, 10), 58u) << "pixel offset";
    EXPECT_EQ(Read32(bmp, 14), 44u) << "header size";
    EXPECT_EQ(Read32(bmp, 18), 100u);
    EXPECT_EQ(Read32(bmp, 22), 40u) << "positive height: bottom-up";
    EXPECT_EQ(Read16(bmp, 26), 1u) << "planes";
    EXPECT_EQ(Read16(bmp, 28), 32u) << "bit count";
    EXPECT_EQ(Read32(bmp, 30), 0u) << "BI_RGB";
    EXPECT_EQ(Read32(bmp, 34), 16000u) << "image size";
    for (std::size_t at = 38; at < 58; at += 4) {
        EXPECT_EQ(Read32(bmp, at), 0u) << "field at " << at;
    }
    // The first stored row is the bottom one; the fourth byte of each pixel is 0.
    EXPECT_EQ(Read32(bmp, 58), FakeScreenSource::PixelAt(50, 49) & 0x00FFFFFFu);
    EXPECT_EQ(Read32(bmp, 58 + 39 * 400 + 99 * 4), FakeScreenSource::PixelAt(149, 10) & 0x00FFFFFFu);
}

TEST_F(ScreenImageTest, ACancelledCaptureLeavesNothing) {
    window.script = [](FakeOverlayWindow& w) {
        w.Drag(10, 10, 100, 100);
        w.KeyUp(CaptureOverlay::kKeyEscape);
    };
    ScreenImage image(overlay, clipboard);
    EXPECT_FALSE(image.SelectArea(true));
    EXPECT_TRUE(image.ToBmpBytes().empty());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(clipboard.writes, 0);
}

TEST_F(ScreenImageTest, ABusyClipboardDoesNotSpoilTheCapture) {
    clipboard.busy = true;
    SelectOnScreen(0, 0, 20, 10);
    ScreenImage image(overlay, clipboard);
    EXPECT_TRUE(image.SelectArea(true));
    EXPECT_EQ(image.ToBmpBytes().size(), 58u + 20 * 10 * 4);
}

TEST(ScreenImageCopy, CopiesClipsAndScales) {
    FakeScreenSource screen;
    fakes::FakeScreenSettle settle;
    FakeOverlayWindow window;
    fakes::FakeFileDialogHost dialogs;
    test::ManualClock clock;
    test::RecordingClipboard clipboard;
    CaptureOverlay overlay{screen, settle, window, dialogs, clock};
    ScreenImage image(overlay, clipboard);

    ui::Bitmap source = test::TestCard(8, 8);
    test::SetPixel(source, 7, 7, 0x00123456u); // alpha 0 in the source
    image.CopyFromDc(source, 6, 6, 4, 4, 4, 4);
    ASSERT_EQ(image.Width(), 4);
    EXPECT_EQ(test::PixelOf(image.Image(), 1, 1), 0xFF123456u) << "kept pixels are opaque";
    EXPECT_EQ(test::PixelOf(image.Image(), 2, 2), 0xFF000000u) << "outside the source is black";

    ui::Bitmap checker;
    checker.width = 2;
    checker.height = 2;
    checker.pixels = {0, 0, 0, 255, 200, 200, 200, 255, 100, 100, 100, 255, 0, 0, 0, 255};
    image.CopyFromDc(checker, 0, 0, 2, 2, 1, 1);
    ASSERT_EQ(image.Width(), 1);
    EXPECT_EQ(test::PixelOf(image.Image(), 0, 0), 0xFF4B4B4Bu) << "halving averages (300 / 4 = 75)";
    image.CopyFromDc(checker, 0, 0, 2, 2, 4, 4);
    EXPECT_EQ(test::PixelOf(image.Image(), 3, 0), 0xFFC8C8C8u) << "enlarging repeats";

    image.CopyFromDc(checker, 0, 0, 0, 2, 4, 4);
    EXPECT_EQ(image.Width(), 4) << "a zero size copies nothing";
}

TEST(CaptureBmp, DecodesBackToTheSamePixels) {
    const ui::Bitmap card = test::TestCard(37, 11);
    const std::optional<ui::Bitmap> decoded = DecodeBmp(ToBmpBytes(card));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, 37);
    EXPECT_EQ(decoded->pixels, card.pixels) << "the zero fourth byte reads back as opaque";
    EXPECT_TRUE(ToBmpBytes(ui::Bitmap{}).empty());
}

} // namespace
} // namespace tovrik::capture
