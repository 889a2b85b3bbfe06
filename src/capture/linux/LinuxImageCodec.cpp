#include "capture/BmpCodec.h"
#include "capture/ImageCodec.h"
#include "capture/PictureSize.h"
#include "capture/linux/Codecs.h"

namespace tovrik::capture {

std::optional<ui::Bitmap> DecodeImageBytes(BytesView encoded) {
    if (PictureTooLarge(encoded)) {
        return std::nullopt;
    }
    if (encoded.starts_with("BM")) {
        return DecodeBmp(encoded);
    }
    if (encoded.starts_with("\x89PNG\r\n\x1a\n")) {
        return codec::DecodePng(encoded);
    }
    if (encoded.starts_with("\xFF\xD8\xFF")) {
        return codec::DecodeJpeg(encoded);
    }
    if (encoded.starts_with("GIF8")) {
        return codec::DecodeGif(encoded);
    }
    if (encoded.starts_with(BytesView("II*\0", 4)) || encoded.starts_with(BytesView("MM\0*", 4))) {
        return codec::DecodeTiff(encoded);
    }
    return std::nullopt;
}

std::optional<Bytes> EncodeBitmap(const ui::Bitmap& image, ImageFormat format, std::optional<int> jpegQuality) {
    if (image.Empty() || image.pixels.size() < image.Stride() * static_cast<std::size_t>(image.height)) {
        return std::nullopt;
    }
    switch (format) {
    case ImageFormat::Bmp:
        return EncodeBmp24(image);
    case ImageFormat::Jpeg:
        return codec::EncodeJpeg(image, jpegQuality.value_or(kDefaultJpegQuality));
    case ImageFormat::Gif:
        return codec::EncodeGif(image);
    case ImageFormat::Tiff:
        return codec::EncodeTiff(image);
    case ImageFormat::Png:
        return codec::EncodePng(image);
    }
    return std::nullopt;
}

} // namespace tovrik::capture
