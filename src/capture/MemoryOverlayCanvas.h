#pragma once

#include "capture/MemoryCanvas.h"
#include "capture/OverlayCanvas.h"

namespace tovrik::capture {

// The overlay's pictures in our memory: the frozen screen as the system gave it and the frame,
// whose dimmed parts are blended from the screen as they are drawn. No dimmed copy of the whole
// screen is kept: blending a part costs about as much as copying it from such a copy would.
class MemoryOverlayCanvas final : public OverlayCanvas {
public:
    // Takes the frozen screen; the frame is sized, not drawn, until the first ShowScreen.
    explicit MemoryOverlayCanvas(ui::Bitmap&& screen);

    [[nodiscard]] int Width() const override { return m_screen.Width(); }
    [[nodiscard]] int Height() const override { return m_screen.Height(); }
    void ShowScreen(const Rect& area, int alpha) override;
    void FillRect(const Rect& area, Color color) override;
    void DrawText(const Rect& box, TextView text, TextPainter& painter) override;
    [[nodiscard]] ui::Bitmap CropScreen(const Rect& area) const override;
    [[nodiscard]] const ui::Bitmap* ScreenPixels() const override { return &m_screen.Bitmap(); }
    [[nodiscard]] const ui::Bitmap* FramePixels() const override { return &m_frame.Bitmap(); }
    [[nodiscard]] std::uintptr_t NativeFrame() const override { return 0; }

private:
    MemoryCanvas m_screen;
    MemoryCanvas m_frame;
};

} // namespace tovrik::capture
