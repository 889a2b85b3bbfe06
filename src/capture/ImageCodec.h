#pragma once

#include "text/Types.h"
#include "ui/Bitmap.h"

#include <optional>

// Image decoding and encoding. Declared here, defined once per platform (the Windows build
// uses GDI+, the Linux build libpng, libjpeg-turbo, giflib and libtiff), so that the rest of
// the program never sees the libraries.
namespace tovrik::capture {

// The format codes of the image encoder.
enum class ImageFormat : int { Bmp = 1, Jpeg = 2, Gif = 3, Tiff = 4, Png = 5 };

// JPEG quality of the platform encoders when none is asked for.
inline constexpr int kDefaultJpegQuality = 75;

// BMP, JPEG, PNG, GIF (first frame) or TIFF (first page) bytes as top-down BGRA pixels;
// nothing when the bytes are no image these decoders read.
[[nodiscard]] std::optional<ui::Bitmap> DecodeImageBytes(BytesView encoded);

// The picture in the format, opaque (the alpha bytes are ignored). GIF is reduced to at most
// 256 colours first. jpegQuality (0-100) applies to JPEG only; without it the encoder's
// default is used. Nothing on failure.
[[nodiscard]] std::optional<Bytes> EncodeBitmap(const ui::Bitmap& image, ImageFormat format,
                                                std::optional<int> jpegQuality = std::nullopt);

} // namespace tovrik::capture
