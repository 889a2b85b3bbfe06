#include "capture/MemoryCanvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace tovrik::capture {

namespace {

// Pixels are read and written as whole 32-bit words inside byte buffers.
using Pixel = std::uint32_t __attribute__((may_alias));

std::uint32_t PixelOf(Color color) {
    return 0xFF000000u | (std::uint32_t{color.red} << 16) | (std::uint32_t{color.green} << 8) | color.blue;
}

Pixel* Row(ui::Bitmap& bitmap, int y) {
    return reinterpret_cast<Pixel*>(bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.Stride());
}

const std::uint8_t* RowBytes(const ui::Bitmap& bitmap, int y) {
    return bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.Stride();
}

// Scales B, G and R of every pixel by factor/255, rounded to nearest, and keeps A: the alpha
// bytes are scaled by 255/255. (t + 128 + ((t + 128) >> 8)) >> 8 is exact rounding of t / 255
// and stays within 16 bits, so a block of 16 bytes becomes a few vector instructions.
void ScaleBytes(const std::uint8_t* __restrict source, std::uint8_t* __restrict target, std::size_t count,
                std::uint8_t factor) {
    constexpr std::size_t kBlock = 16;
    std::uint16_t factors[kBlock];
    for (std::size_t k = 0; k < kBlock; ++k) {
        factors[k] = k % 4 == 3 ? 255 : factor;
    }
    const auto scale = [](std::uint8_t value, std::uint16_t by) {
        const auto t = static_cast<std::uint16_t>(value * by + 128);
        return static_cast<std::uint8_t>(static_cast<std::uint16_t>(t + (t >> 8)) >> 8);
    };
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        for (std::size_t k = 0; k < kBlock; ++k) {
            target[i + k] = scale(source[i + k], factors[k]);
        }
    }
    for (; i < count; ++i) {
        target[i] = scale(source[i], factors[i % 4]);
    }
}

} // namespace

void MemoryCanvas::Create(int width, int height) {
    Resize(width, height);
    std::memset(m_bitmap.pixels.data(), 0, m_bitmap.pixels.size());
}

void MemoryCanvas::Resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        Release();
        return;
    }
    m_bitmap.width = width;
    m_bitmap.height = height;
    m_bitmap.pixels.resize(m_bitmap.Stride() * static_cast<std::size_t>(height));
}

void MemoryCanvas::Adopt(ui::Bitmap&& pixels) {
    Release();
    m_bitmap = std::move(pixels);
    if (m_bitmap.Empty() || m_bitmap.pixels.size() < m_bitmap.Stride() * static_cast<std::size_t>(m_bitmap.height)) {
        Release();
    }
}

void MemoryCanvas::Release() {
    m_bitmap = ui::Bitmap{};
}

void MemoryCanvas::DrawTo(MemoryCanvas& target, int x, int y, int width, int height) const {
    DrawRectTo(target, {x, y, x + width, y + height});
}

void MemoryCanvas::DrawRectTo(MemoryCanvas& target, const Rect& area) const {
    const Rect clip = area.Normalized().Intersected(Bounds()).Intersected(target.Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(clip.Width()) * 4;
    for (int y = clip.top; y < clip.bottom; ++y) {
        std::memcpy(Row(target.m_bitmap, y) + clip.left,
                    RowBytes(m_bitmap, y) + static_cast<std::size_t>(clip.left) * 4, bytes);
    }
}

ui::Bitmap MemoryCanvas::Crop(const Rect& area) const {
    return CropBitmap(m_bitmap, area);
}

ui::Bitmap CropBitmap(const ui::Bitmap& source, const Rect& area) {
    ui::Bitmap result;
    const Rect wanted = area.Normalized();
    if (wanted.IsEmpty()) {
        return result;
    }
    result.width = wanted.Width();
    result.height = wanted.Height();
    result.pixels.assign(result.Stride() * static_cast<std::size_t>(result.height), 0);
    const Rect clip = wanted.Intersected({0, 0, source.width, source.height});
    const std::size_t bytes = static_cast<std::size_t>(clip.Width()) * 4;
    for (int y = clip.top; y < clip.bottom; ++y) {
        std::memcpy(Row(result, y - wanted.top) + (clip.left - wanted.left),
                    RowBytes(source, y) + static_cast<std::size_t>(clip.left) * 4, bytes);
    }
    return result;
}

void MemoryCanvas::FillRect(const Rect& area, Color color) {
    const Rect clip = area.Intersected(Bounds());
    const std::uint32_t pixel = PixelOf(color);
    for (int y = clip.top; y < clip.bottom; ++y) {
        Pixel* row = Row(m_bitmap, y);
        for (int x = clip.left; x < clip.right; ++x) {
            row[x] = pixel;
        }
    }
}

void MemoryCanvas::FrameRect(const Rect& area, Color color) {
    if (area.IsEmpty()) {
        return;
    }
    FillRect({area.left, area.top, area.right, area.top + 1}, color);
    FillRect({area.left, area.bottom - 1, area.right, area.bottom}, color);
    FillRect({area.left, area.top, area.left + 1, area.bottom}, color);
    FillRect({area.right - 1, area.top, area.right, area.bottom}, color);
}

void MemoryCanvas::BlendBlackFrom(const MemoryCanvas& source, int alpha) {
    if (this == &source) {
        return;
    }
    Resize(source.Width(), source.Height());
    BlendBlackRect(source, alpha, Bounds());
}

void MemoryCanvas::BlendBlackRect(const MemoryCanvas& source, int alpha, const Rect& area) {
    const Rect clip = area.Normalized().Intersected(Bounds()).Intersected(source.Bounds());
    if (this == &source || clip.IsEmpty()) {
        return;
    }
    const int clamped = alpha > 255 ? 255 : alpha;
    const auto blend = [&](const std::uint8_t* from, std::uint8_t* to, std::size_t bytes) {
        if (clamped <= 0) {
            std::memcpy(to, from, bytes);
        } else {
            ScaleBytes(from, to, bytes, static_cast<std::uint8_t>(255 - clamped));
        }
    };
    const auto left = static_cast<std::size_t>(clip.left) * 4;
    const auto bytes = static_cast<std::size_t>(clip.Width()) * 4;
    if (bytes == m_bitmap.Stride() && bytes == source.m_bitmap.Stride()) {
        // Whole rows lie one after the other: one pass over them all.
        const std::size_t offset = static_cast<std::size_t>(clip.top) * bytes;
        blend(source.m_bitmap.pixels.data() + offset, m_bitmap.pixels.data() + offset,
              bytes * static_cast<std::size_t>(clip.Height()));
        return;
    }
    for (int y = clip.top; y < clip.bottom; ++y) {
        blend(RowBytes(source.m_bitmap, y) + left, reinterpret_cast<std::uint8_t*>(Row(m_bitmap, y)) + left, bytes);
    }
}

} // namespace tovrik::capture
