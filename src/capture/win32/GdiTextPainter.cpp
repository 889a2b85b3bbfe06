#include "capture/win32/GdiTextPainter.h"

#include "ui/win32/WideText.h"

#include <algorithm>
#include <cstring>

namespace tovrik::capture {

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

} // namespace

GdiTextPainter::GdiTextPainter() : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc != nullptr) {
        m_previousFont = SelectObject(m_dc, GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(m_dc, kWhite);
        SetBkMode(m_dc, TRANSPARENT);
    }
}

GdiTextPainter::~GdiTextPainter() {
    ReleaseCanvas();
    if (m_dc != nullptr) {
        if (m_previousFont != nullptr) {
            SelectObject(m_dc, m_previousFont);
        }
        DeleteDC(m_dc);
    }
}

void GdiTextPainter::DrawText(ui::Bitmap& target, const Rect& box, TextView text) {
    const Rect clip = box.Intersected({0, 0, target.width, target.height});
    if (clip.IsEmpty() || target.pixels.size() < target.Stride() * static_cast<std::size_t>(target.height) ||
        !EnsureCanvas(clip.Width(), clip.Height())) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(clip.Width()) * 4;
    const std::size_t canvasStride = static_cast<std::size_t>(m_width) * 4;
    auto targetRow = [&](int y) {
        return target.pixels.data() + static_cast<std::size_t>(clip.top + y) * target.Stride() +
               static_cast<std::size_t>(clip.left) * 4;
    };
    for (int y = 0; y < clip.Height(); ++y) {
        std::memcpy(m_bits + static_cast<std::size_t>(y) * canvasStride, targetRow(y), rowBytes);
    }
    RECT area{box.left - clip.left, box.top - clip.top, box.right - clip.left, box.bottom - clip.top};
    const std::wstring wide = ui::win32::Wide(text);
    // Top-left, one line per CR LF, clipped to the box (DT_VCENTER means nothing without
    // DT_SINGLELINE).
    ::DrawTextW(m_dc, wide.c_str(), static_cast<int>(wide.size()), &area, DT_VCENTER);
    GdiFlush();
    for (int y = 0; y < clip.Height(); ++y) {
        std::uint8_t* row = targetRow(y);
        std::memcpy(row, m_bits + static_cast<std::size_t>(y) * canvasStride, rowBytes);
        // GDI clears the alpha byte of the pixels it writes; the picture stays opaque.
        for (std::size_t x = 3; x < rowBytes; x += 4) {
            row[x] = 0xFF;
        }
    }
}

bool GdiTextPainter::EnsureCanvas(int width, int height) {
    if (m_dc == nullptr) {
        return false;
    }
    if (m_bitmap != nullptr && width <= m_width && height <= m_height) {
        return true;
    }
    ReleaseCanvas();
    const int newWidth = std::max(width, m_width);
    const int newHeight = std::max(height, m_height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = newWidth;
    info.bmiHeader.biHeight = -newHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_bitmap == nullptr || bits == nullptr) {
        ReleaseCanvas();
        return false;
    }
    m_bits = static_cast<std::uint8_t*>(bits);
    m_previousBitmap = SelectObject(m_dc, m_bitmap);
    m_width = newWidth;
    m_height = newHeight;
    return true;
}

void GdiTextPainter::ReleaseCanvas() {
    if (m_bitmap != nullptr) {
        SelectObject(m_dc, m_previousBitmap);
        DeleteObject(m_bitmap);
    }
    m_bitmap = nullptr;
    m_previousBitmap = nullptr;
    m_bits = nullptr;
    m_width = 0;
    m_height = 0;
}

} // namespace tovrik::capture
