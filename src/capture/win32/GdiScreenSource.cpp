#include "capture/win32/GdiScreenSource.h"

#include <windows.h>

#include <cstring>

namespace tovrik::capture {

namespace {

Rect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    reinterpret_cast<std::vector<Rect>*>(list)->push_back(FromRect(*area));
    return TRUE;
}

class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc != nullptr) {
            ReleaseDC(nullptr, m_dc);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    [[nodiscard]] HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// A memory DC with a top-down 32-bit DIB section selected into it.
class DibCanvas {
public:
    DibCanvas(HDC reference, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_dc = CreateCompatibleDC(reference);
        if (m_bitmap != nullptr && m_dc != nullptr) {
            m_previous = SelectObject(m_dc, m_bitmap);
        }
    }
    ~DibCanvas() {
        if (m_previous != nullptr) {
            SelectObject(m_dc, m_previous);
        }
        if (m_bitmap != nullptr) {
            DeleteObject(m_bitmap);
        }
        if (m_dc != nullptr) {
            DeleteDC(m_dc);
        }
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    [[nodiscard]] bool Valid() const { return m_previous != nullptr && m_bits != nullptr; }
    [[nodiscard]] HDC Dc() const { return m_dc; }
    [[nodiscard]] const std::uint8_t* Bits() const { return static_cast<const std::uint8_t*>(m_bits); }

private:
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

} // namespace

Rect GdiScreenSource::WorkArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        return {};
    }
    return FromRect(area);
}

std::vector<Rect> GdiScreenSource::Monitors() {
    std::vector<Rect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::optional<Point> GdiScreenSource::PointerPosition() {
    POINT pointer{};
    if (!GetCursorPos(&pointer)) {
        return std::nullopt;
    }
    return Point{pointer.x, pointer.y};
}

bool GdiScreenSource::Grab(const Rect& area, ui::Bitmap& pictureOut) {
    if (area.IsEmpty()) {
        return false;
    }
    const ScreenDc screen;
    if (screen.Get() == nullptr) {
        return false;
    }
    const DibCanvas canvas(screen.Get(), area.Width(), area.Height());
    if (!canvas.Valid() || !BitBlt(canvas.Dc(), 0, 0, area.Width(), area.Height(), screen.Get(), area.left, area.top,
                                   SRCCOPY | CAPTUREBLT)) {
        return false;
    }
    GdiFlush();
    pictureOut.width = area.Width();
    pictureOut.height = area.Height();
    pictureOut.pixels.resize(pictureOut.Stride() * static_cast<std::size_t>(pictureOut.height));
    const std::size_t count = pictureOut.pixels.size() / 4;
    const std::uint8_t* bits = canvas.Bits();
    for (std::size_t i = 0; i < count; ++i) {
        // The screen gives no alpha; the picture is opaque.
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, bits + i * 4, 4);
        pixel |= 0xFF000000u;
        std::memcpy(pictureOut.pixels.data() + i * 4, &pixel, 4);
    }
    return true;
}

} // namespace tovrik::capture
