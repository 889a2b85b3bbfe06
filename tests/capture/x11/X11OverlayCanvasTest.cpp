// The overlay canvas kept by the X server against the one in memory, on a server of the test's
// own (Xvfb): the same operations must give the same pixels, so that the overlay looks exactly
// as it does when it draws in memory.
#include "capture/linux/X11OverlayCanvas.h"
#include "capture/MemoryOverlayCanvas.h"
#include "capture/OverlayLayout.h"
#include "capture/OverlayPainter.h"
#include "capture/linux/RootImage.h"
#include "capture/linux/X11OverlayPixmaps.h"

// Before Xlib, whose macros (None) clash with GoogleTest's names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace tovrik::capture {
namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 500;

std::uint32_t PixelOf(const ui::Bitmap& bitmap, int x, int y) {
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.Stride() + x * 4, 4);
    return pixel;
}

// Every value of every channel, in patterns that differ per channel and position.
std::uint32_t PatternAt(int x, int y) {
    const auto blue = static_cast<std::uint32_t>(x % 256);
    const auto green = static_cast<std::uint32_t>((y * 3 + x / 256) % 256);
    const auto red = static_cast<std::uint32_t>((x * 7 + y * 5) % 256);
    return (red << 16) | (green << 8) | blue;
}

// Colour channels only: what a 24-bit window shows.
std::vector<std::uint32_t> Colours(const ui::Bitmap& bitmap) {
    std::vector<std::uint32_t> colours;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            colours.push_back(PixelOf(bitmap, x, y) & 0xFFFFFFu);
        }
    }
    return colours;
}

// Writes something that depends on the pixel below and the position inside the box, so that a
// shifted, clipped or unread box shows.
class MarkingText final : public TextPainter {
public:
    void DrawText(ui::Bitmap& target, const Rect& box, TextView text) override {
        const Rect clip = box.Intersected({0, 0, target.width, target.height});
        for (int y = clip.top; y < clip.bottom; y += 2) {
            for (int x = clip.left; x < clip.right; x += 3) {
                std::uint8_t* pixel = target.pixels.data() + static_cast<std::size_t>(y) * target.Stride() + x * 4;
                pixel[0] = static_cast<std::uint8_t>(pixel[1] ^ (x - box.left) ^ text.size());
                pixel[2] = static_cast<std::uint8_t>(255 - (y - box.top));
            }
        }
    }
};

class X11OverlayCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_display = XOpenDisplay(nullptr);
        ASSERT_NE(m_display, nullptr) << "these tests need an X server (run them under xvfb-run)";
        const int screen = DefaultScreen(m_display);
        ASSERT_GE(DisplayWidth(m_display, screen), kWidth);
        ASSERT_GE(DisplayHeight(m_display, screen), kHeight);
        // The pattern on the root window, and what reading it into memory gives.
        m_root.width = DisplayWidth(m_display, screen);
        m_root.height = DisplayHeight(m_display, screen);
        m_root.pixels.resize(m_root.Stride() * static_cast<std::size_t>(m_root.height));
        for (int y = 0; y < m_root.height; ++y) {
            for (int x = 0; x < m_root.width; ++x) {
                const std::uint32_t pixel = PatternAt(x, y);
                std::memcpy(m_root.pixels.data() + static_cast<std::size_t>(y) * m_root.Stride() + x * 4, &pixel, 4);
            }
        }
        XImage* image = XCreateImage(m_display, DefaultVisual(m_display, screen), 24, ZPixmap, 0,
                                     reinterpret_cast<char*>(m_root.pixels.data()), static_cast<unsigned>(m_root.width),
                                     static_cast<unsigned>(m_root.height), 32, static_cast<int>(m_root.Stride()));
        ASSERT_NE(image, nullptr);
        const Window root = DefaultRootWindow(m_display);
        GC gc = XCreateGC(m_display, root, 0, nullptr);
        XPutImage(m_display, root, gc, image, 0, 0, 0, 0, static_cast<unsigned>(m_root.width),
                  static_cast<unsigned>(m_root.height));
        XFreeGC(m_display, gc);
        image->data = nullptr;
        XDestroyImage(image);
        XSync(m_display, False);
    }
    void TearDown() override {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }

    // The area of the desktop as ScreenSource::Grab gives it: black off the root window.
    [[nodiscard]] ui::Bitmap MemoryPicture(const Rect& area) const {
        ui::Bitmap picture;
        picture.width = area.Width();
        picture.height = area.Height();
        picture.pixels.assign(picture.Stride() * static_cast<std::size_t>(picture.height), 0);
        const ClippedArea clipped = ClipToScreen(area, m_root.width, m_root.height);
        for (int y = clipped.onScreen.top; y < clipped.onScreen.bottom; ++y) {
            for (int x = clipped.onScreen.left; x < clipped.onScreen.right; ++x) {
                const std::uint32_t pixel = PixelOf(m_root, x, y) | 0xFF000000u;
                std::memcpy(picture.pixels.data() + static_cast<std::size_t>(y - area.top) * picture.Stride() +
                                (x - area.left) * 4,
                            &pixel, 4);
            }
        }
        return picture;
    }
    [[nodiscard]] ui::Bitmap ServerFrame(const X11OverlayCanvas& canvas) const {
        ui::Bitmap frame;
        frame.width = canvas.Width();
        frame.height = canvas.Height();
        frame.pixels.resize(frame.Stride() * static_cast<std::size_t>(frame.height));
        EXPECT_TRUE(ReadDrawable(m_display, canvas.NativeFrame(), canvas.Bounds(), {0, 0}, frame));
        return frame;
    }

    Display* m_display = nullptr;
    ui::Bitmap m_root;
};

TEST_F(X11OverlayCanvasTest, DimsFillsAndCropsExactlyAsInMemory) {
    // Partly left of and below the root window: those parts are black in both.
    const Rect area{-40, 30, kWidth - 40, 30 + kHeight};
    std::unique_ptr<X11OverlayCanvas> server = X11OverlayCanvas::Freeze(m_display, area);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->Width(), kWidth);
    EXPECT_EQ(server->ScreenPixels(), nullptr) << "no screenful in our memory";
    EXPECT_NE(server->NativeFrame(), 0u);
    MemoryOverlayCanvas memory(MemoryPicture(area));

    MarkingText text;
    const auto both = [&](auto operation) {
        operation(*server);
        operation(memory);
    };
    both([](OverlayCanvas& c) { c.ShowScreen(c.Bounds(), 0); });
    both([](OverlayCanvas& c) { c.ShowScreen({0, 0, 300, 200}, OverlayPainter::kDimAlpha); });
    both([](OverlayCanvas& c) { c.ShowScreen({250, 150, 600, 480}, OverlayPainter::kDarkAlpha); });
    both([](OverlayCanvas& c) { c.ShowScreen({500, -20, 800, 60}, 255); });
    both([](OverlayCanvas& c) { c.ShowScreen({10, 300, 60, 340}, 400); });
    both([](OverlayCanvas& c) { c.ShowScreen({100, 200, 40, 120}, 30); }); // reversed
    both([](OverlayCanvas& c) { c.FillRect({-5, 400, 120, 410}, {10, 124, 202}); });
    both([&](OverlayCanvas& c) { c.DrawText({600, 440, 760, 520}, "text", text); }); // past the corner
    both([&](OverlayCanvas& c) { c.DrawText({20, 20, 200, 90}, "more text", text); });

    const ui::Bitmap frame = ServerFrame(*server);
    ASSERT_EQ(Colours(frame).size(), Colours(*memory.FramePixels()).size());
    const std::vector<std::uint32_t> got = Colours(frame);
    const std::vector<std::uint32_t> want = Colours(*memory.FramePixels());
    int differing = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] != want[i] && differing++ < 5) {
            ADD_FAILURE() << "pixel (" << i % kWidth << ", " << i / kWidth << "): server " << std::hex << got[i]
                          << ", memory " << want[i];
        }
    }
    EXPECT_EQ(differing, 0);

    for (const Rect& crop : {Rect{-10, -10, 50, 40}, Rect{100, 100, 400, 300}, Rect{650, 450, 800, 600}}) {
        const ui::Bitmap fromServer = server->CropScreen(crop);
        const ui::Bitmap fromMemory = memory.CropScreen(crop);
        ASSERT_EQ(fromServer.width, crop.Width());
        EXPECT_EQ(Colours(fromServer), Colours(fromMemory));
        EXPECT_EQ(PixelOf(fromServer, 0, 0) >> 24, 0u) << "outside the canvas stays black";
    }
}

TEST_F(X11OverlayCanvasTest, TheScreenStaysFrozenAfterTheRootChanges) {
    std::unique_ptr<X11OverlayCanvas> server = X11OverlayCanvas::Freeze(m_display, {0, 0, 200, 100});
    ASSERT_NE(server, nullptr);
    XSetWindowBackground(m_display, DefaultRootWindow(m_display), 0);
    XClearWindow(m_display, DefaultRootWindow(m_display));
    XSync(m_display, False);
    const ui::Bitmap crop = server->CropScreen({0, 0, 200, 100});
    EXPECT_EQ(PixelOf(crop, 77, 33) & 0xFFFFFFu, PatternAt(77, 33));
}

// Captures in a row share the server's pixmaps: nothing of one may show in the next, and a
// touched pair must not differ from fresh ones.
TEST_F(X11OverlayCanvasTest, KeptPixmapsShowOnlyTheLatestCapture) {
    std::shared_ptr<X11OverlayPixmaps> pixmaps = X11OverlayPixmaps::Create(m_display, kWidth, kHeight);
    ASSERT_NE(pixmaps, nullptr);
    pixmaps->Touch();
    MarkingText text;
    {
        std::unique_ptr<X11OverlayCanvas> first = X11OverlayCanvas::Freeze(pixmaps, {0, 0, kWidth, kHeight});
        ASSERT_NE(first, nullptr);
        first->ShowScreen(first->Bounds(), 0);
        first->FillRect({0, 0, kWidth, kHeight}, {200, 10, 10});
        first->DrawText({0, 0, 300, 100}, "first", text);
    }
    // The root changes between the captures, and the second one lies partly off it.
    XSetWindowBackground(m_display, DefaultRootWindow(m_display), 0x123456);
    XClearArea(m_display, DefaultRootWindow(m_display), 0, 0, 100, 100, False);
    XSync(m_display, False);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const std::uint32_t pixel = 0x123456;
            std::memcpy(m_root.pixels.data() + static_cast<std::size_t>(y) * m_root.Stride() + x * 4, &pixel, 4);
        }
    }
    const Rect area{-60, -20, kWidth - 60, kHeight - 20};
    std::unique_ptr<X11OverlayCanvas> second = X11OverlayCanvas::Freeze(pixmaps, area);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->NativeFrame(), pixmaps->Frame());
    MemoryOverlayCanvas memory(MemoryPicture(area));
    for (OverlayCanvas* canvas : {static_cast<OverlayCanvas*>(second.get()), static_cast<OverlayCanvas*>(&memory)}) {
        canvas->ShowScreen(canvas->Bounds(), OverlayPainter::kDimAlpha);
        canvas->ShowScreen({80, 40, 400, 300}, 0);
        canvas->DrawText({100, 320, 400, 380}, "second", text);
    }
    EXPECT_EQ(Colours(ServerFrame(*second)), Colours(*memory.FramePixels()));
    EXPECT_EQ(Colours(second->CropScreen(second->Bounds())), Colours(memory.CropScreen(memory.Bounds())));

    second.reset();
    EXPECT_EQ(X11OverlayCanvas::Freeze(pixmaps, {0, 0, kWidth - 1, kHeight}), nullptr)
        << "pixmaps of another size must not be drawn past their edge";
}

OverlayScene SceneFor(const Rect& raw) {
    OverlayScene scene;
    scene.showSelection = true;
    scene.selection = raw.Normalized();
    scene.handles = SelectionHandles(scene.selection);
    scene.info = SelectionInfoPanel(scene.selection, kWidth, kHeight);
    return scene;
}

TEST_F(X11OverlayCanvasTest, APaintedOverlayLooksAsInMemoryAfterEveryMove) {
    const Rect area{0, 0, kWidth, kHeight};
    OverlayPainter server;
    server.Prepare(X11OverlayCanvas::Freeze(m_display, area));
    ASSERT_NE(server.Canvas(), nullptr);
    OverlayPainter memory;
    memory.Prepare(MemoryPicture(area));
    MarkingText text;
    OverlayScene hint;
    hint.info = DefaultInfoPanel(kWidth, kHeight);
    for (const OverlayScene& scene : {hint, SceneFor({100, 100, 180, 150}), SceneFor({103, 102, 183, 152}),
                                      SceneFor({300, 200, 690, 490}), SceneFor({-50, 350, 60, 520}), hint}) {
        EXPECT_EQ(server.Paint(scene, text), memory.Paint(scene, text));
        const ui::Bitmap frame = ServerFrame(static_cast<const X11OverlayCanvas&>(*server.Canvas()));
        EXPECT_EQ(Colours(frame), Colours(memory.Frame()));
    }
}

} // namespace
} // namespace tovrik::capture
