#pragma once

#include "capture/MemoryCanvas.h"
#include "capture/OverlayLayout.h"
#include "capture/TextPainter.h"

namespace tovrik::capture {

// What the overlay shows on top of the dimmed screen.
struct OverlayScene {
    bool showSelection = false;
    Rect selection; // normalised
    Handles handles{};
    InfoPanel info;

    bool operator==(const OverlayScene&) const = default;
};

// The overlay's canvases: the frozen screen, its dimmed and darker copies (made once per
// overlay) and the back buffer the window shows. A repaint only copies, and only what differs
// between the previous and the new scene, so a mouse move costs in proportion to the
// selection's edges and the information box, not to the screen.
class OverlayPainter {
public:
    static constexpr int kDimAlpha = 100;
    static constexpr int kDarkAlpha = 150;
    static constexpr Color kFrameColor{10, 124, 202};
    // The text starts this far below the top of the information box.
    static constexpr int kTextInset = 10;

    // Takes the frozen screen and makes the dimmed copy, the darker copy and the back buffer
    // (which starts as the dimmed copy with nothing on it).
    void Prepare(ui::Bitmap&& screen);
    // Empties the canvases, keeping their memory for the next overlay.
    void Release();
    // Memory for the next frozen screen, from the one before.
    [[nodiscard]] std::vector<std::uint8_t> TakeScreenStorage();

    // Brings the back buffer to the scene; returns the area that changed (empty when none).
    Rect Paint(const OverlayScene& scene, TextPainter& text);

    [[nodiscard]] const MemoryCanvas& Screen() const { return m_screen; }
    [[nodiscard]] const ui::Bitmap& Frame() const { return m_back.Bitmap(); }

private:
    void Restore(const OverlayScene& old, const OverlayScene& scene);
    void Draw(const OverlayScene& old, const OverlayScene& scene, TextPainter& text);
    [[nodiscard]] static Rect Extent(const OverlayScene& scene);

    MemoryCanvas m_screen;
    MemoryCanvas m_dim;
    MemoryCanvas m_dark;
    MemoryCanvas m_back;
    OverlayScene m_painted; // what the back buffer shows
};

} // namespace tovrik::capture
