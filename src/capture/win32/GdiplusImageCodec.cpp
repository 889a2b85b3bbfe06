#include "capture/BmpCodec.h"
#include "capture/ImageCodec.h"
#include "capture/IndexedImage.h"
#include "capture/PictureSize.h"
#include "capture/win32/GdiplusSession.h"

#include <cstring>
#include <vector>

namespace tovrik::capture {

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;
using gdiplus::ImagePtr;
using gdiplus::StreamPtr;

// Larger pictures are refused: 2^28 pixels is a gigabyte of BGRA.

// The standard GDI+ image encoders, by format code 1-5.
constexpr const wchar_t* kEncoderIds[] = {
    L"{557CF400-1A04-11D3-9A73-0000F81EF32E}", // BMP
    L"{557CF401-1A04-11D3-9A73-0000F81EF32E}", // JPEG
    L"{557CF402-1A04-11D3-9A73-0000F81EF32E}", // GIF
    L"{557CF405-1A04-11D3-9A73-0000F81EF32E}", // TIFF
    L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", // PNG
};
constexpr const wchar_t* kEncoderQualityId = L"{1d5be4b5-fa4a-452d-9cdd-5db35105e7eb}";

std::optional<CLSID> ParseGuid(const wchar_t* text) {
    CLSID id{};
    if (FAILED(CLSIDFromString(const_cast<LPOLESTR>(text), &id))) {
        return std::nullopt;
    }
    return id;
}

StreamPtr StreamOver(BytesView bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) {
        return nullptr;
    }
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    // The stream frees the memory when it is released.
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    return StreamPtr(stream);
}

std::optional<Bytes> ReadStream(IStream* stream) {
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory))) {
        return std::nullopt;
    }
    const void* data = GlobalLock(memory);
    if (data == nullptr) {
        return std::nullopt;
    }
    Bytes out(static_cast<const char*>(data), static_cast<std::size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return out;
}

// GDI+ writes a 32-bit picture to GIF as an empty image: it gets an 8-bit indexed one.
ImagePtr IndexedBitmap(const ui::Bitmap& image) {
    const IndexedImage indexed = IndexedImage::From(image);
    GpBitmap* created = nullptr;
    if (GdipCreateBitmapFromScan0(image.width, image.height, 0, PixelFormat8bppIndexed, nullptr, &created) != Ok) {
        return nullptr;
    }
    ImagePtr bitmap(created);
    std::vector<std::uint8_t> paletteBytes(sizeof(ColorPalette) + sizeof(ARGB) * 256, 0);
    auto* palette = reinterpret_cast<ColorPalette*>(paletteBytes.data());
    palette->Flags = 0;
    palette->Count = static_cast<UINT>(indexed.palette.size());
    for (std::size_t i = 0; i < indexed.palette.size(); ++i) {
        const Color& c = indexed.palette[i];
        palette->Entries[i] = 0xFF000000u | (ARGB{c.red} << 16) | (ARGB{c.green} << 8) | c.blue;
    }
    Gdiplus::Rect area(0, 0, image.width, image.height);
    BitmapData data{};
    if (GdipSetImagePalette(bitmap.get(), palette) != Ok ||
        GdipBitmapLockBits(bitmap.get(), &area, ImageLockModeWrite, PixelFormat8bppIndexed, &data) != Ok) {
        return nullptr;
    }
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    indexed.indices.data() + static_cast<std::size_t>(y) * image.width, image.width);
    }
    GdipBitmapUnlockBits(bitmap.get(), &data);
    return bitmap;
}

ImagePtr RgbBitmap(const ui::Bitmap& image) {
    GpBitmap* created = nullptr;
    if (GdipCreateBitmapFromScan0(image.width, image.height, 0, PixelFormat32bppRGB, nullptr, &created) != Ok) {
        return nullptr;
    }
    ImagePtr bitmap(created);
    Gdiplus::Rect area(0, 0, image.width, image.height);
    BitmapData data{};
    if (GdipBitmapLockBits(bitmap.get(), &area, ImageLockModeWrite, PixelFormat32bppRGB, &data) != Ok) {
        return nullptr;
    }
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    image.pixels.data() + static_cast<std::size_t>(y) * image.Stride(), image.Stride());
    }
    GdipBitmapUnlockBits(bitmap.get(), &data);
    return bitmap;
}

} // namespace

std::optional<ui::Bitmap> DecodeImageBytes(BytesView encoded) {
    if (PictureTooLarge(encoded)) {
        return std::nullopt;
    }
    // The capture layout's 44-byte header is not one that every BMP decoder knows (Wine's GDI+
    // refuses it); the portable reader takes it and every other uncompressed BMP.
    if (encoded.starts_with("BM")) {
        if (std::optional<ui::Bitmap> bmp = DecodeBmp(encoded)) {
            return bmp;
        }
    }
    gdiplus::GdiplusSession session;
    if (encoded.empty() || !session.Started()) {
        return std::nullopt;
    }
    const StreamPtr stream = StreamOver(encoded);
    GpBitmap* created = nullptr;
    if (!stream || GdipCreateBitmapFromStream(stream.get(), &created) != Ok) {
        return std::nullopt;
    }
    const ImagePtr bitmap(created);
    UINT width = 0;
    UINT height = 0;
    if (GdipGetImageWidth(bitmap.get(), &width) != Ok || GdipGetImageHeight(bitmap.get(), &height) != Ok ||
        width == 0 || height == 0 || static_cast<unsigned long long>(width) * height > kMaxPicturePixels) {
        return std::nullopt;
    }
    Gdiplus::Rect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data{};
    if (GdipBitmapLockBits(bitmap.get(), &area, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) {
        return std::nullopt;
    }
    ui::Bitmap result;
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    result.pixels.resize(result.Stride() * height);
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(result.pixels.data() + static_cast<std::size_t>(y) * result.Stride(),
                    static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    result.Stride());
    }
    GdipBitmapUnlockBits(bitmap.get(), &data);
    return result;
}

std::optional<Bytes> EncodeBitmap(const ui::Bitmap& image, ImageFormat format, std::optional<int> jpegQuality) {
    const int code = static_cast<int>(format);
    if (image.Empty() || image.pixels.size() < image.Stride() * static_cast<std::size_t>(image.height) || code < 1 ||
        code > 5) {
        return std::nullopt;
    }
    gdiplus::GdiplusSession session;
    const std::optional<CLSID> encoder = ParseGuid(kEncoderIds[code - 1]);
    if (!session.Started() || !encoder) {
        return std::nullopt;
    }
    const ImagePtr bitmap = format == ImageFormat::Gif ? IndexedBitmap(image) : RgbBitmap(image);
    IStream* created = nullptr;
    if (!bitmap || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &created))) {
        return std::nullopt;
    }
    const StreamPtr stream(created);

    EncoderParameters parameters{};
    ULONG quality = 0;
    const EncoderParameters* withParameters = nullptr;
    if (format == ImageFormat::Jpeg && jpegQuality) {
        const std::optional<CLSID> qualityId = ParseGuid(kEncoderQualityId);
        if (!qualityId) {
            return std::nullopt;
        }
        quality = static_cast<ULONG>(*jpegQuality < 0 ? 0 : (*jpegQuality > 100 ? 100 : *jpegQuality));
        parameters.Count = 1;
        parameters.Parameter[0].Guid = *qualityId;
        parameters.Parameter[0].NumberOfValues = 1;
        parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
        parameters.Parameter[0].Value = &quality;
        withParameters = &parameters;
    }
    if (GdipSaveImageToStream(bitmap.get(), stream.get(), &*encoder, withParameters) != Ok) {
        return std::nullopt;
    }
    return ReadStream(stream.get());
}

} // namespace tovrik::capture
