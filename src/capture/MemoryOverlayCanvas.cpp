#include "capture/MemoryOverlayCanvas.h"

#include <utility>

namespace tovrik::capture {

MemoryOverlayCanvas::MemoryOverlayCanvas(ui::Bitmap&& screen) {
    m_screen.Adopt(std::move(screen));
    m_frame.Resize(m_screen.Width(), m_screen.Height());
}

void MemoryOverlayCanvas::ShowScreen(const Rect& area, int alpha) {
    if (alpha <= 0) {
        m_screen.DrawRectTo(m_frame, area);
    } else {
        m_frame.BlendBlackRect(m_screen, alpha, area);
    }
}

void MemoryOverlayCanvas::FillRect(const Rect& area, Color color) {
    m_frame.FillRect(area, color);
}

void MemoryOverlayCanvas::DrawText(const Rect& box, TextView text, TextPainter& painter) {
    if (m_frame.Created()) {
        painter.DrawText(m_frame.Bitmap(), box, text);
    }
}

ui::Bitmap MemoryOverlayCanvas::CropScreen(const Rect& area) const {
    return m_screen.Crop(area);
}

} // namespace tovrik::capture
