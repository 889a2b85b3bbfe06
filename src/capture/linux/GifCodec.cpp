#include "capture/IndexedImage.h"
#include "capture/linux/Codecs.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>

namespace tovrik::capture::codec {

namespace {

struct Reader {
    BytesView bytes;
    std::size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* target, int length) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t count = std::min(static_cast<std::size_t>(length), reader->bytes.size() - reader->position);
    std::memcpy(target, reader->bytes.data() + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

int WriteBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<Bytes*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    return length;
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// The colour of each pixel of the first frame on a transparent screen.
ui::Bitmap ComposeFirstFrame(GifFileType* gif, const ColorMapObject& map) {
    const SavedImage& frame = gif->SavedImages[0];
    const GifImageDesc& desc = frame.ImageDesc;
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, 0, &control);

    ui::Bitmap result;
    result.width = gif->SWidth > 0 ? gif->SWidth : desc.Width;
    result.height = gif->SHeight > 0 ? gif->SHeight : desc.Height;
    result.pixels.assign(result.Stride() * static_cast<std::size_t>(result.height), 0);
    for (int y = 0; y < desc.Height; ++y) {
        const int targetY = desc.Top + y;
        if (targetY < 0 || targetY >= result.height) {
            continue;
        }
        for (int x = 0; x < desc.Width; ++x) {
            const int targetX = desc.Left + x;
            const int index = frame.RasterBits[static_cast<std::size_t>(y) * desc.Width + x];
            if (targetX < 0 || targetX >= result.width || index == control.TransparentColor ||
                index >= map.ColorCount) {
                continue;
            }
            const GifColorType& colour = map.Colors[index];
            std::uint8_t* out =
                result.pixels.data() + static_cast<std::size_t>(targetY) * result.Stride() + targetX * 4;
            out[0] = colour.Blue;
            out[1] = colour.Green;
            out[2] = colour.Red;
            out[3] = 0xFF;
        }
    }
    return result;
}

} // namespace

std::optional<ui::Bitmap> DecodeGif(BytesView bytes) {
    Reader reader{bytes};
    int error = 0;
    const std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&reader, ReadBytes, &error));
    if (!gif || !SizeAllowed(gif->SWidth, gif->SHeight) || DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1) {
        return std::nullopt;
    }
    const GifImageDesc& desc = gif->SavedImages[0].ImageDesc;
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (map == nullptr || gif->SavedImages[0].RasterBits == nullptr) {
        return std::nullopt;
    }
    return ComposeFirstFrame(gif.get(), *map);
}

std::optional<Bytes> EncodeGif(const ui::Bitmap& image) {
    const IndexedImage indexed = IndexedImage::From(image);
    int bits = 1;
    while ((std::size_t{1} << bits) < indexed.palette.size()) {
        ++bits;
    }
    const std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(1 << bits, nullptr));
    if (!map) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < indexed.palette.size(); ++i) {
        map->Colors[i] = {indexed.palette[i].red, indexed.palette[i].green, indexed.palette[i].blue};
    }

    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteBytes, &error);
    if (gif == nullptr) {
        return std::nullopt;
    }
    EGifSetGifVersion(gif, true);
    bool written = EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map.get()) == GIF_OK &&
                   EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (int y = 0; written && y < image.height; ++y) {
        auto* row = const_cast<GifPixelType*>(indexed.indices.data() + static_cast<std::size_t>(y) * image.width);
        written = EGifPutLine(gif, row, image.width) == GIF_OK;
    }
    // Closing writes the trailer and frees the encoder either way.
    written = EGifCloseFile(gif, &error) == GIF_OK && written;
    if (!written) {
        return std::nullopt;
    }
    return out;
}

} // namespace tovrik::capture::codec
