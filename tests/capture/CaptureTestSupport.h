#pragma once

#include "settings/Clock.h"
#include "ui/Bitmap.h"
#include "ui/Clipboard.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

namespace tovrik::capture::test {

class ManualClock final : public settings::Clock {
public:
    std::uint64_t ticks = 1000;
    settings::LocalDateTime Now() const override { return {}; }
    std::uint64_t TickCount() const override { return ticks; }
};

class RecordingClipboard final : public ui::Clipboard {
public:
    bool busy = false;
    std::optional<ui::Bitmap> image;
    int writes = 0;

    bool SetText(TextView) override { return !busy; }
    bool SetImage(const ui::Bitmap& bitmap) override {
        ++writes;
        if (busy) {
            return false;
        }
        image = bitmap;
        return true;
    }
};

// A fresh folder under the system's temporary folder, removed again at the end of the test.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("tovrik-capture-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-" +
                  std::to_string(++counter));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // A path inside the folder, as program text (the names used in tests are ASCII).
    [[nodiscard]] std::string File(const std::string& name) const { return (m_path / name).string(); }
    [[nodiscard]] bool Exists(const std::string& name) const { return std::filesystem::exists(m_path / name); }

private:
    std::filesystem::path m_path;
};

inline std::uint32_t PixelOf(const ui::Bitmap& image, int x, int y) {
    std::uint32_t value = 0;
    std::memcpy(&value, image.pixels.data() + (static_cast<std::size_t>(y) * image.width + x) * 4, 4);
    return value;
}

inline void SetPixel(ui::Bitmap& image, int x, int y, std::uint32_t value) {
    std::memcpy(image.pixels.data() + (static_cast<std::size_t>(y) * image.width + x) * 4, &value, 4);
}

// An opaque test card: colour bands, a gradient and single contrasting pixels.
inline ui::Bitmap TestCard(int width, int height) {
    ui::Bitmap image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.Stride() * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<std::uint32_t>((x * 255) / (width > 1 ? width - 1 : 1));
            const auto g = static_cast<std::uint32_t>((y * 255) / (height > 1 ? height - 1 : 1));
            const std::uint32_t b = (x / 4 + y / 4) % 2 == 0 ? 0x20u : 0xE0u;
            SetPixel(image, x, y, 0xFF000000u | (r << 16) | (g << 8) | b);
        }
    }
    return image;
}

// Three colours in a pattern: GIF keeps them exactly.
inline ui::Bitmap FewColours(int width, int height) {
    ui::Bitmap image = TestCard(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            SetPixel(image, x, y, (x + y) % 3 == 0 ? 0xFF102030u : ((x * y) % 5 == 0 ? 0xFFF0E0D0u : 0xFF0A7CCAu));
        }
    }
    return image;
}

// Gentle gradients: JPEG keeps them close.
inline ui::Bitmap Smooth(int width, int height) {
    ui::Bitmap image = TestCard(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            SetPixel(image, x, y,
                     0xFF000080u | (static_cast<std::uint32_t>(x * 3) << 16) |
                         (static_cast<std::uint32_t>(y * 4) << 8));
        }
    }
    return image;
}

} // namespace tovrik::capture::test
