#include "CaptureTestSupport.h"

#include "capture/MemoryCanvas.h"
#include "capture/OverlayPainter.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovrik::capture {
namespace {

class NoText final : public TextPainter {
public:
    void DrawText(ui::Bitmap&, const Rect&, TextView) override {}
};

constexpr std::uint32_t kFramePixel = 0xFF0A7CCAu; // RGB(10, 124, 202) as B, G, R, A bytes

TEST(MemoryCanvas, BlendsBlackWithExactRoundingAndKeepsAlpha) {
    MemoryCanvas source;
    source.Create(4, 1);
    test::SetPixel(source.Bitmap(), 0, 0, 0xFFFFFFFFu);
    test::SetPixel(source.Bitmap(), 1, 0, 0x80C86401u); // B 1, G 100, R 200, A 128
    test::SetPixel(source.Bitmap(), 2, 0, 0x00000000u);
    test::SetPixel(source.Bitmap(), 3, 0, 0xFF808080u);
    MemoryCanvas dim;
    dim.BlendBlackFrom(source, 100);
    // round(v * 155 / 255): 255 -> 155, 200 -> 122, 100 -> 61, 1 -> 1, 128 -> 78.
    EXPECT_EQ(test::PixelOf(dim.Bitmap(), 0, 0), 0xFF9B9B9Bu);
    EXPECT_EQ(test::PixelOf(dim.Bitmap(), 1, 0), 0x807A3D01u);
    EXPECT_EQ(test::PixelOf(dim.Bitmap(), 2, 0), 0x00000000u);
    EXPECT_EQ(test::PixelOf(dim.Bitmap(), 3, 0), 0xFF4E4E4Eu);

    MemoryCanvas copy;
    copy.BlendBlackFrom(source, 0);
    EXPECT_EQ(copy.Bitmap().pixels, source.Bitmap().pixels);
    MemoryCanvas black;
    black.BlendBlackFrom(source, 300);
    EXPECT_EQ(test::PixelOf(black.Bitmap(), 0, 0), 0xFF000000u);
}

TEST(MemoryCanvas, FramesFillsAndCopiesWithinBothCanvases) {
    MemoryCanvas canvas;
    canvas.Create(8, 6);
    canvas.FrameRect({1, 1, 5, 4}, {10, 124, 202});
    EXPECT_EQ(test::PixelOf(canvas.Bitmap(), 1, 1), kFramePixel);
    EXPECT_EQ(test::PixelOf(canvas.Bitmap(), 4, 3), kFramePixel) << "right and bottom edges lie inside";
    EXPECT_EQ(test::PixelOf(canvas.Bitmap(), 5, 3), 0u);
    EXPECT_EQ(test::PixelOf(canvas.Bitmap(), 2, 2), 0u) << "a frame is not filled";

    canvas.FillRect({-3, -3, 2, 2}, {255, 0, 0});
    EXPECT_EQ(test::PixelOf(canvas.Bitmap(), 0, 0), 0xFFFF0000u);

    MemoryCanvas small;
    small.Create(3, 3);
    canvas.DrawRectTo(small, {-5, -5, 10, 10}); // clipped to both
    EXPECT_EQ(test::PixelOf(small.Bitmap(), 1, 1), 0xFFFF0000u);
    EXPECT_EQ(test::PixelOf(small.Bitmap(), 2, 2), 0u);

    const ui::Bitmap crop = canvas.Crop({-1, 0, 2, 2});
    ASSERT_EQ(crop.width, 3);
    EXPECT_EQ(test::PixelOf(crop, 0, 0), 0u) << "outside the canvas stays black";
    EXPECT_EQ(test::PixelOf(crop, 1, 0), 0xFFFF0000u);
}

OverlayScene SceneFor(const Rect& raw, int width, int height) {
    OverlayScene scene;
    scene.showSelection = true;
    scene.selection = raw.Normalized();
    scene.handles = SelectionHandles(scene.selection);
    scene.info = SelectionInfoPanel(scene.selection, width, height);
    return scene;
}

TEST(OverlayPainter, RepaintingOnlyChangesLooksLikeAFreshPaint) {
    constexpr int kWidth = 640;
    constexpr int kHeight = 403; // the last band of the dimmed copies is a short one
    NoText text;
    OverlayPainter painter;
    painter.Prepare(test::TestCard(kWidth, kHeight));

    OverlayScene hint;
    hint.info = DefaultInfoPanel(kWidth, kHeight);
    const std::vector<OverlayScene> scenes = {
        hint,
        SceneFor({100, 100, 100, 100}, kWidth, kHeight),
        SceneFor({100, 100, 180, 150}, kWidth, kHeight),
        SceneFor({103, 102, 183, 152}, kWidth, kHeight), // small move: old frame and handles inside
        SceneFor({90, 95, 200, 170}, kWidth, kHeight),   // grown around the old one
        SceneFor({100, 100, 40, 20}, kWidth, kHeight),   // reversed
        SceneFor({300, 200, 620, 390}, kWidth, kHeight), // moved; box inside along the bottom
        SceneFor({-50, 350, 60, 450}, kWidth, kHeight),  // partly off the screen
        SceneFor({5, 380, 635, 403}, kWidth, kHeight),   // the last rows
        SceneFor({0, 0, kWidth, kHeight}, kWidth, kHeight),
        hint,
    };
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        painter.Paint(scenes[i], text);
        OverlayPainter fresh;
        fresh.Prepare(test::TestCard(kWidth, kHeight));
        fresh.Paint(scenes[i], text);
        EXPECT_EQ(painter.Frame().pixels, fresh.Frame().pixels) << "scene " << i;
    }
}

TEST(OverlayPainter, ShowsTheSelectionUndimmedWithFrameHandlesAndDarkerBox) {
    constexpr int kWidth = 600;
    constexpr int kHeight = 300;
    NoText text;
    OverlayPainter painter;
    const ui::Bitmap card = test::TestCard(kWidth, kHeight);
    painter.Prepare(ui::Bitmap(card));
    const OverlayScene scene = SceneFor({50, 100, 150, 140}, kWidth, kHeight);
    const Rect changed = painter.Paint(scene, text);
    EXPECT_EQ(changed, (Rect{48, 38, 400, 142})) << "info box above, selection with handle reach";

    MemoryCanvas source;
    source.Adopt(ui::Bitmap(card));
    MemoryCanvas dim;
    dim.BlendBlackFrom(source, OverlayPainter::kDimAlpha);
    MemoryCanvas dark;
    dark.BlendBlackFrom(source, OverlayPainter::kDarkAlpha);
    const ui::Bitmap& frame = painter.Frame();
    EXPECT_EQ(test::PixelOf(frame, 100, 120), test::PixelOf(card, 100, 120));
    EXPECT_EQ(test::PixelOf(frame, 10, 200), test::PixelOf(dim.Bitmap(), 10, 200));
    EXPECT_EQ(test::PixelOf(frame, 300, 50), test::PixelOf(dark.Bitmap(), 300, 50)) << "inside the info box";
    EXPECT_EQ(test::PixelOf(frame, 70, 100), kFramePixel) << "top edge of the frame";
    EXPECT_EQ(test::PixelOf(frame, 149, 139), kFramePixel) << "bottom-right corner pixel";
    EXPECT_EQ(test::PixelOf(frame, 151, 141), kFramePixel) << "bottom-right handle reaches past the corner";
    EXPECT_EQ(test::PixelOf(frame, 152, 142), test::PixelOf(dim.Bitmap(), 152, 142));
}

} // namespace
} // namespace tovrik::capture
