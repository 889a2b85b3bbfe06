#pragma once

#include "capture/OverlayCanvas.h"
#include "capture/OverlayLayout.h"
#include "capture/TextPainter.h"

#include <memory>

namespace tovrik::capture {

// What the overlay shows on top of the dimmed screen.
struct OverlayScene {
    bool showSelection = false;
    Rect selection; // normalised
    Handles handles{};
    InfoPanel info;

    bool operator==(const OverlayScene&) const = default;
};

// Draws the overlay's scenes on its canvas. A repaint only draws what differs between the
// previous and the new scene, so a mouse move costs in proportion to the selection's edges and
// the information box, not to the screen; the first frame is the whole screen dimmed.
class OverlayPainter {
public:
    static constexpr int kDimAlpha = 100;
    static constexpr int kDarkAlpha = 150;
    static constexpr Color kFrameColor{10, 124, 202};
    // The text starts this far below the top of the information box.
    static constexpr int kTextInset = 10;

    // Takes the canvas of a frozen screen and draws the first frame: the dimmed screen with
    // nothing on it.
    void Prepare(std::unique_ptr<OverlayCanvas> canvas);
    // The same for a frozen screen in our memory.
    void Prepare(ui::Bitmap&& screen);
    // Lets go of the canvas and everything it holds.
    void Release();

    // Brings the frame to the scene; returns the area that changed (empty when none).
    Rect Paint(const OverlayScene& scene, TextPainter& text);

    // Null before Prepare and after Release.
    [[nodiscard]] const OverlayCanvas* Canvas() const { return m_canvas.get(); }
    // The frame when it is in our memory, otherwise an empty bitmap.
    [[nodiscard]] const ui::Bitmap& Frame() const;

private:
    void Restore(const OverlayScene& old, const OverlayScene& scene);
    void Draw(const OverlayScene& old, const OverlayScene& scene, TextPainter& text);
    [[nodiscard]] static Rect Extent(const OverlayScene& scene);

    std::unique_ptr<OverlayCanvas> m_canvas;
    OverlayScene m_painted; // what the frame shows
};

} // namespace tovrik::capture
