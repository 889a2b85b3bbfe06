#include "capture/linux/Codecs.h"

#include <png.h>

#include <vector>

namespace tovrik::capture::codec {

std::optional<ui::Bitmap> DecodePng(BytesView bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        return std::nullopt;
    }
    if (!SizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_BGRA;
    ui::Bitmap result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.pixels.resize(PNG_IMAGE_SIZE(image));
    // finish_read frees the reader's memory on success and on failure.
    if (!png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr)) {
        return std::nullopt;
    }
    return result;
}

std::optional<Bytes> EncodePng(const ui::Bitmap& source) {
    const std::size_t count = static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height);
    std::vector<std::uint8_t> bgr(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        bgr[i * 3] = source.pixels[i * 4];
        bgr[i * 3 + 1] = source.pixels[i * 4 + 1];
        bgr[i * 3 + 2] = source.pixels[i * 4 + 2];
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(source.width);
    image.height = static_cast<png_uint_32>(source.height);
    image.format = PNG_FORMAT_BGR;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, bgr.data(), 0, nullptr)) {
        return std::nullopt;
    }
    Bytes out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, bgr.data(), 0, nullptr)) {
        return std::nullopt;
    }
    out.resize(size);
    return out;
}

} // namespace tovrik::capture::codec
