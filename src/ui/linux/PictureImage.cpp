#include "ui/linux/PictureImage.h"

#include <cstdint>
#include <cstring>

namespace tovrik::ui {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCaptureInfoHeaderSize = 44;

QImage Load(BytesView bytes) {
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
}

} // namespace

QImage DecodePicture(BytesView bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        return {};
    }
    QImage image = Load(bytes);
    if (!image.isNull() || bytes.size() < kFileHeaderSize + 4 || bytes.substr(0, 2) != "BM") {
        return image;
    }
    std::uint32_t headerSize = 0;
    std::memcpy(&headerSize, bytes.data() + kFileHeaderSize, 4);
    if (headerSize != kCaptureInfoHeaderSize) {
        return image;
    }
    // The reader follows the file header's pixel offset, so the colour entry is skipped once
    // the header claims the plain 40 bytes.
    Bytes patched(bytes);
    std::memcpy(patched.data() + kFileHeaderSize, &kInfoHeaderSize, 4);
    return Load(patched);
}

} // namespace tovrik::ui
