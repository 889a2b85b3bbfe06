#pragma once

#include "capture/Geometry.h"
#include "ui/Bitmap.h"

#include <cstdint>

namespace tovrik::capture {

// A picture in memory that the overlay draws with. Every operation clips to both canvases, so
// a selection moved partly off the screen draws only what lies on it.
//
// At 4K a canvas is 33 MB: its memory comes from ui::PixelBytes, untouched until drawn to and
// given back to the system on Release.
class MemoryCanvas {
public:
    // A black canvas of that size.
    void Create(int width, int height);
    // A canvas of that size whose pixels are about to be overwritten: black when the canvas
    // was empty (and its memory untouched so far), otherwise old content may remain.
    void Resize(int width, int height);
    // Takes over pixels made elsewhere (the frozen screen).
    void Adopt(ui::Bitmap&& pixels);
    // Empties the canvas and frees its memory.
    void Release();

    [[nodiscard]] bool Created() const { return !m_bitmap.Empty(); }
    [[nodiscard]] int Width() const { return m_bitmap.width; }
    [[nodiscard]] int Height() const { return m_bitmap.height; }
    [[nodiscard]] Rect Bounds() const { return {0, 0, m_bitmap.width, m_bitmap.height}; }
    [[nodiscard]] const ui::Bitmap& Bitmap() const { return m_bitmap; }
    [[nodiscard]] ui::Bitmap& Bitmap() { return m_bitmap; }

    // Copies the area at the same position into the target.
    void DrawTo(MemoryCanvas& target, int x, int y, int width, int height) const;
    void DrawRectTo(MemoryCanvas& target, const Rect& area) const;
    [[nodiscard]] ui::Bitmap Crop(const Rect& area) const;

    void FillRect(const Rect& area, Color color);
    // A one-pixel border along the inside of the rectangle.
    void FrameRect(const Rect& area, Color color);

    // This canvas := source with black laid over it at constant opacity alpha (0-255; 0 or less
    // leaves the source as it is, above 255 counts as 255). One pass, integer arithmetic.
    void BlendBlackFrom(const MemoryCanvas& source, int alpha);
    // The same for the area of both canvases only, at the same position in each.
    void BlendBlackRect(const MemoryCanvas& source, int alpha, const Rect& area);

private:
    ui::Bitmap m_bitmap;
};

// The area of the picture, placed at (0, 0) of a new bitmap of the area's size; parts of the
// area outside the picture stay black.
[[nodiscard]] ui::Bitmap CropBitmap(const ui::Bitmap& source, const Rect& area);

} // namespace tovrik::capture
