#include "capture/IndexedImage.h"

#include <cstring>
#include <unordered_map>

namespace tovrik::capture {

namespace {

constexpr int kMaxColours = 256;
constexpr int kRedLevels = 6;
constexpr int kGreenLevels = 7;
constexpr int kBlueLevels = 6;

std::uint32_t RgbAt(const ui::Bitmap& image, std::size_t pixel) {
    std::uint32_t value = 0;
    std::memcpy(&value, image.pixels.data() + pixel * 4, 4);
    return value & 0x00FFFFFFu;
}

Color ColorOf(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)};
}

// Nearest level of `levels` evenly spaced ones between 0 and 255.
int LevelOf(std::uint32_t value, int levels) {
    return static_cast<int>((value * (levels - 1) + 127) / 255);
}

std::uint8_t LevelValue(int level, int levels) {
    return static_cast<std::uint8_t>((level * 255 + (levels - 1) / 2) / (levels - 1));
}

bool ReduceExactly(const ui::Bitmap& image, IndexedImage& result) {
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    const std::size_t count = result.indices.size();
    std::uint32_t last = 0xFFFFFFFFu;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t rgb = RgbAt(image, i);
        if (rgb != last) {
            const auto found = indexOf.find(rgb);
            if (found != indexOf.end()) {
                lastIndex = found->second;
            } else {
                if (indexOf.size() == kMaxColours) {
                    return false;
                }
                lastIndex = static_cast<std::uint8_t>(indexOf.size());
                indexOf.emplace(rgb, lastIndex);
                result.palette.push_back(ColorOf(rgb));
            }
            last = rgb;
        }
        result.indices[i] = lastIndex;
    }
    return true;
}

void ReduceToCube(const ui::Bitmap& image, IndexedImage& result) {
    result.palette.clear();
    for (int r = 0; r < kRedLevels; ++r) {
        for (int g = 0; g < kGreenLevels; ++g) {
            for (int b = 0; b < kBlueLevels; ++b) {
                result.palette.push_back(
                    {LevelValue(r, kRedLevels), LevelValue(g, kGreenLevels), LevelValue(b, kBlueLevels)});
            }
        }
    }
    for (std::size_t i = 0; i < result.indices.size(); ++i) {
        const std::uint32_t rgb = RgbAt(image, i);
        const int r = LevelOf(rgb >> 16, kRedLevels);
        const int g = LevelOf((rgb >> 8) & 0xFF, kGreenLevels);
        const int b = LevelOf(rgb & 0xFF, kBlueLevels);
        result.indices[i] = static_cast<std::uint8_t>((r * kGreenLevels + g) * kBlueLevels + b);
    }
}

} // namespace

IndexedImage IndexedImage::From(const ui::Bitmap& image) {
    IndexedImage result;
    if (image.Empty() || image.pixels.size() < image.Stride() * static_cast<std::size_t>(image.height)) {
        return result;
    }
    result.width = image.width;
    result.height = image.height;
    result.indices.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    if (!ReduceExactly(image, result)) {
        ReduceToCube(image, result);
    }
    return result;
}

} // namespace tovrik::capture
