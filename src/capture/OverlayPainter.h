#pragma once

#include "capture/MemoryCanvas.h"
#include "capture/OverlayLayout.h"
#include "capture/TextPainter.h"

#include <vector>

namespace tovrik::capture {

// What the overlay shows on top of the dimmed screen.
struct OverlayScene {
    bool showSelection = false;
    Rect selection; // normalised
    Handles handles{};
    InfoPanel info;

    bool operator==(const OverlayScene&) const = default;
};

// The overlay's canvases: the frozen screen, its dimmed and darker copies and the back buffer
// the window shows. A repaint only copies, and only what differs between the previous and the
// new scene, so a mouse move costs in proportion to the selection's edges and the information
// box, not to the screen.
//
// The first frame is the whole screen dimmed, blended straight into the back buffer. The
// dimmed and darker copies are made band by band the first time a repaint needs them (the
// darker one only ever under the information box), each band once per overlay: most of them
// are never needed, and a whole-screen canvas is costly to touch for the first time.
class OverlayPainter {
public:
    static constexpr int kDimAlpha = 100;
    static constexpr int kDarkAlpha = 150;
    static constexpr Color kFrameColor{10, 124, 202};
    // The text starts this far below the top of the information box.
    static constexpr int kTextInset = 10;

    // Rows per band of the dimmed and darker copies.
    static constexpr int kBandRows = 16;

    // Takes the frozen screen and makes the back buffer: the dimmed screen with nothing on it.
    void Prepare(ui::Bitmap&& screen);
    // Empties the canvases and frees their memory.
    void Release();

    // Brings the back buffer to the scene; returns the area that changed (empty when none).
    Rect Paint(const OverlayScene& scene, TextPainter& text);

    [[nodiscard]] const MemoryCanvas& Screen() const { return m_screen; }
    [[nodiscard]] const ui::Bitmap& Frame() const { return m_back.Bitmap(); }

private:
    void Restore(const OverlayScene& old, const OverlayScene& scene);
    void Draw(const OverlayScene& old, const OverlayScene& scene, TextPainter& text);
    [[nodiscard]] static Rect Extent(const OverlayScene& scene);
    // Copies the area of the dimmed or darker copy into the back buffer, making the bands it
    // lies on first where they are still missing.
    void CopyBlended(MemoryCanvas& copy, std::vector<bool>& bandsMade, int alpha, const Rect& area);

    MemoryCanvas m_screen;
    MemoryCanvas m_dim;
    MemoryCanvas m_dark;
    MemoryCanvas m_back;
    std::vector<bool> m_dimBands;
    std::vector<bool> m_darkBands;
    OverlayScene m_painted; // what the back buffer shows
};

} // namespace tovrik::capture
