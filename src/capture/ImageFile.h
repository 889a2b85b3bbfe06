#pragma once

#include "capture/ImageCodec.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

#include <optional>

// Image conversions and image-file helpers.
namespace tovrik::capture {

// Re-encodes an image (any format DecodeImageBytes reads) into format code 1-5 (BMP, JPEG,
// GIF, TIFF, PNG) with the encoder's defaults. With a path that is not blank, the result is
// also written to that file, the format's extension (".bmp", ".jpg", ".gif", ".tiff", ".png")
// added unless the path already ends with it in any case. True and output := the new bytes on
// success; on any failure (input of 2 bytes or fewer, undecodable input, unknown format,
// encoder failure, or a file that could not be written) false with output untouched.
[[nodiscard]] bool EncodeImage(BytesView image, int format, TextView path, Bytes& outputOut);

// The image as JPEG with the encoder's defaults, as the recognition service uploads it; empty
// bytes when the image cannot be read.
[[nodiscard]] Bytes ToJpegBytes(BytesView image);

// Writes the picture to the file. The path's "/" and "\" become the platform's separator and
// doubled separators collapse. Without a format, the path's extension is taken; the encoder
// is chosen by exact, case-sensitive comparison with "bmp", "jpg", "gif", "tif" and "png",
// anything else giving BMP. The JPEG quality defaults to 100 and is clamped to 0-100. True
// when the file was written.
[[nodiscard]] bool SaveImageFile(const ui::Bitmap& image, TextView path, TextView format = {},
                                 std::optional<int> quality = std::nullopt);

// The image type ("JPEG", "PNG", "GIF", "TIFF", "BMP", "PCX", "SVG", "PSD", "SWF", "WMF",
// "EMF", "EPS", "TGA", "ICO", "CUR", "ANI", "IFF") told by the file's first 16 bytes, the
// only ones read; the empty text for a missing, unreadable or shorter file, one that is not a
// regular file (a named pipe, a device, a folder), or an unknown signature.
[[nodiscard]] Text ImageFileType(TextView path);
// The same for bytes already in memory.
[[nodiscard]] Text ImageTypeOfBytes(BytesView head);

} // namespace tovrik::capture
