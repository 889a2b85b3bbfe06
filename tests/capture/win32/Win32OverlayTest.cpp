#include "../CaptureTestSupport.h"
#include "capture/CaptureOverlay.h"
#include "capture/MemoryOverlayCanvas.h"
#include "capture/win32/GdiTextPainter.h"
#include "capture/win32/Win32OverlayWindow.h"
#include "fakes/FakeFileDialogHost.h"
#include "fakes/FakeScreenSettle.h"
#include "fakes/FakeScreenSource.h"
#include "util/Win32Desktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace tovrik::capture {
namespace {

std::uint32_t Pixel(const ui::Bitmap& bitmap, int x, int y) {
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.Stride() + x * 4, 4);
    return pixel;
}

ui::Bitmap Grey(int width, int height) {
    ui::Bitmap bitmap{.width = width, .height = height, .pixels = {}};
    for (int i = 0; i < width * height; ++i) {
        bitmap.pixels.insert(bitmap.pixels.end(), {0x40, 0x40, 0x40, 0xFF});
    }
    return bitmap;
}

TEST(Win32TextPainter, DrawsWhiteTextInsideTheBoxOnly) {
    ui::Bitmap picture = Grey(200, 60);
    GdiTextPainter painter;
    painter.DrawText(picture, {10, 10, 150, 50}, "  按下鼠标左键开始选择截图位置.\r\n  ESC");
    int bright = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = Pixel(picture, x, y);
            ASSERT_EQ(pixel >> 24, 0xFFu) << "opaque at " << x << "," << y;
            const bool inside = x >= 10 && x < 150 && y >= 10 && y < 50;
            if (!inside) {
                ASSERT_EQ(pixel, 0xFF404040u) << "untouched outside the box at " << x << "," << y;
            } else if ((pixel & 0xFF) > 0xC0) {
                ++bright;
            }
        }
    }
    EXPECT_GT(bright, 30) << "the text shows";
}

TEST(Win32TextPainter, ABoxReachingPastThePictureDrawsWhatFits) {
    ui::Bitmap picture = Grey(100, 40);
    GdiTextPainter painter;
    painter.DrawText(picture, {60, 20, 400, 200}, "当前选择左边:60");
    painter.DrawText(picture, {200, 200, 300, 300}, "outside");
    EXPECT_EQ(Pixel(picture, 59, 39), 0xFF404040u);
    EXPECT_EQ(Pixel(picture, 99, 19), 0xFF404040u);
}

// Posts what a user would do to the overlay window while its modal loop runs, one step per tick
// of a thread timer; each step sees the window's handle.
class OverlayScript {
public:
    using Step = std::function<void(HWND)>;

    OverlayScript(const OverlayWindow& window, std::vector<Step> steps) : m_window(window), m_steps(std::move(steps)) {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 30, Tick);
    }
    ~OverlayScript() {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    OverlayScript(const OverlayScript&) = delete;
    OverlayScript& operator=(const OverlayScript&) = delete;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        OverlayScript* self = s_current;
        const HWND window = self != nullptr ? reinterpret_cast<HWND>(self->m_window.NativeHandle()) : nullptr;
        if (window == nullptr || self->m_next >= self->m_steps.size()) {
            return;
        }
        self->m_steps[self->m_next++](window);
    }

    static inline OverlayScript* s_current = nullptr;
    const OverlayWindow& m_window;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

void Post(HWND window, UINT message, int x, int y) {
    PostMessageW(window, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

class Win32Overlay : public testing::Test {
protected:
    void SetUp() override {
        TOVRIK_REQUIRE_DESKTOP();
        m_screen.workArea = {0, 0, 400, 300};
        m_screen.monitors = {{0, 0, 400, 300}};
    }

    fakes::FakeScreenSource m_screen;
    fakes::FakeScreenSettle m_settle;
    Win32OverlayWindow m_window;
    fakes::FakeFileDialogHost m_dialogs;
    test::ManualClock m_clock;
    CaptureOverlay m_overlay{m_screen, m_settle, m_window, m_dialogs, m_clock};
};

TEST_F(Win32Overlay, ADragAndADoubleClickInsideSelectTheArea) {
    LONG exStyle = 0;
    RECT shown{};
    std::uint32_t inside = 0;
    std::uint32_t outside = 0;
    const OverlayScript script(m_window, {[&](HWND window) {
                                              exStyle = GetWindowLongW(window, GWL_EXSTYLE);
                                              GetWindowRect(window, &shown);
                                              Post(window, WM_MOUSEMOVE, 10, 20);
                                              Post(window, WM_LBUTTONDOWN, 10, 20);
                                              Post(window, WM_MOUSEMOVE, 40, 40);
                                              Post(window, WM_MOUSEMOVE, 60, 50);
                                              Post(window, WM_LBUTTONUP, 60, 50);
                                          },
                                          [&](HWND) {
                                              // What the screen shows now: the selection undimmed, the rest dimmed.
                                              HDC dc = GetDC(nullptr);
                                              inside = GetPixel(dc, 30, 35);
                                              outside = GetPixel(dc, 200, 200);
                                              ReleaseDC(nullptr, dc);
                                          },
                                          [&](HWND window) {
                                              Post(window, WM_MOUSEMOVE, 30, 30);
                                              Post(window, WM_LBUTTONDOWN, 30, 30);
                                              Post(window, WM_LBUTTONUP, 30, 30);
                                              Post(window, WM_LBUTTONDBLCLK, 30, 30);
                                              Post(window, WM_LBUTTONUP, 30, 30);
                                          }});
    ASSERT_TRUE(m_overlay.Run());
    const OverlaySelection selection = m_overlay.Selection();
    EXPECT_EQ(selection.left, 10);
    EXPECT_EQ(selection.top, 20);
    EXPECT_EQ(selection.width, 50);
    EXPECT_EQ(selection.height, 30);

    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(exStyle & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_EQ(shown.left, 0);
    EXPECT_EQ(shown.right, 400);
    EXPECT_EQ(shown.bottom, 300);
    // COLORREF is 0x00BBGGRR, the fake's pixels 0xAARRGGBB.
    const std::uint32_t source = fakes::FakeScreenSource::PixelAt(30, 35);
    EXPECT_EQ(GetRValue(inside), (source >> 16) & 0xFF);
    EXPECT_EQ(GetGValue(inside), (source >> 8) & 0xFF);
    EXPECT_EQ(GetBValue(inside), source & 0xFF);
    EXPECT_LT(GetBValue(outside), fakes::FakeScreenSource::PixelAt(200, 200) & 0xFF) << "dimmed";
}

TEST_F(Win32Overlay, EscapeOnReleaseClosesWithoutResult) {
    const OverlayScript script(m_window, {[](HWND window) {
                                   Post(window, WM_LBUTTONDOWN, 10, 10);
                                   Post(window, WM_MOUSEMOVE, 50, 50);
                                   Post(window, WM_LBUTTONUP, 50, 50);
                                   PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
                                   PostMessageW(window, WM_KEYUP, VK_ESCAPE, 0);
                               }});
    EXPECT_FALSE(m_overlay.Run());
    EXPECT_EQ(m_window.NativeHandle(), 0u) << "the window is gone";
}

TEST_F(Win32Overlay, AskingToCloseCancels) {
    const OverlayScript script(m_window, {[](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }});
    EXPECT_FALSE(m_overlay.Run());
}

TEST_F(Win32Overlay, AFrameOfAnotherSizeIsNotShown) {
    const MemoryOverlayCanvas frame(Grey(10, 10));
    CaptureOverlay& input = m_overlay;
    EXPECT_FALSE(m_window.RunModal({0, 0, 20, 10}, frame, input));
}

} // namespace
} // namespace tovrik::capture
