#include "capture/ScreenImage.h"

#include "capture/BmpCodec.h"
#include "capture/CaptureOverlay.h"
#include "capture/MemoryCanvas.h"
#include "ui/Clipboard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tovrik::capture {

namespace {

void MakeOpaque(ui::Bitmap& image) {
    for (std::size_t i = 0; i + 4 <= image.pixels.size(); i += 4) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, image.pixels.data() + i, 4);
        pixel |= 0xFF000000u;
        std::memcpy(image.pixels.data() + i, &pixel, 4);
    }
}

// Box filter: each target pixel averages the source pixels its area covers (at least one),
// which is what a halftone stretch does for shrinking and a plain repeat for enlarging.
void Resample(const ui::Bitmap& source, ui::Bitmap& target) {
    for (int ty = 0; ty < target.height; ++ty) {
        const int y0 = static_cast<int>(static_cast<long long>(ty) * source.height / target.height);
        const int y1 =
            std::max(y0 + 1, static_cast<int>(static_cast<long long>(ty + 1) * source.height / target.height));
        for (int tx = 0; tx < target.width; ++tx) {
            const int x0 = static_cast<int>(static_cast<long long>(tx) * source.width / target.width);
            const int x1 =
                std::max(x0 + 1, static_cast<int>(static_cast<long long>(tx + 1) * source.width / target.width));
            unsigned long long sum[4] = {0, 0, 0, 0};
            for (int y = y0; y < y1; ++y) {
                const std::uint8_t* row = source.pixels.data() + static_cast<std::size_t>(y) * source.Stride();
                for (int x = x0; x < x1; ++x) {
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += row[x * 4 + c];
                    }
                }
            }
            const auto count = static_cast<unsigned long long>(y1 - y0) * static_cast<unsigned long long>(x1 - x0);
            std::uint8_t* out = target.pixels.data() + static_cast<std::size_t>(ty) * target.Stride() + tx * 4;
            for (int c = 0; c < 4; ++c) {
                out[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
        }
    }
}

} // namespace

bool ScreenImage::SelectArea(bool copyToClipboard) {
    if (m_overlay.IsOpen()) {
        // Another capture is running; its overlay and canvases must stay as they are.
        return false;
    }
    const bool selected = m_overlay.Run();
    if (selected) {
        // Only the selected pixels come over: the frozen screen may be kept by the display
        // server, and copying them once is all CopyFromDc would do at the same size.
        m_image = m_overlay.SelectedPixels();
        MakeOpaque(m_image);
        if (copyToClipboard) {
            (void)m_clipboard.SetImage(m_image);
        }
    }
    m_overlay.Reset();
    return selected;
}

Bytes ScreenImage::ToBmpBytes() const {
    return capture::ToBmpBytes(m_image);
}

void ScreenImage::EnsureBitmap(int width, int height) {
    if (m_image.width == width && m_image.height == height) {
        return;
    }
    m_image.width = width;
    m_image.height = height;
    m_image.pixels.assign(m_image.Stride() * static_cast<std::size_t>(height), 0);
}

void ScreenImage::CopyFromDc(const ui::Bitmap& source, int x, int y, int width, int height, int targetWidth,
                             int targetHeight) {
    if (width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        return;
    }
    EnsureBitmap(targetWidth, targetHeight);
    ui::Bitmap area = CropBitmap(source, {x, y, x + width, y + height});
    if (width == targetWidth && height == targetHeight) {
        m_image.pixels = std::move(area.pixels);
    } else {
        Resample(area, m_image);
    }
    MakeOpaque(m_image);
}

} // namespace tovrik::capture
