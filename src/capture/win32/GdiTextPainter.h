#pragma once

#include "capture/TextPainter.h"

#include <windows.h>
// The text painter's DrawText is ours, not the ANSI/wide macro of the system headers.
#undef DrawText

namespace tovrik::capture {

// Draws the overlay's texts with GDI: the default GUI font, white, on a transparent
// background, into a small DIB section that holds a copy of the box's pixels. The section is
// kept for the next text.
class GdiTextPainter final : public TextPainter {
public:
    GdiTextPainter();
    ~GdiTextPainter() override;
    GdiTextPainter(const GdiTextPainter&) = delete;
    GdiTextPainter& operator=(const GdiTextPainter&) = delete;

    void DrawText(ui::Bitmap& target, const Rect& box, TextView text) override;

private:
    [[nodiscard]] bool EnsureCanvas(int width, int height);
    void ReleaseCanvas();

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previousBitmap = nullptr;
    HGDIOBJ m_previousFont = nullptr;
    std::uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};

} // namespace tovrik::capture
