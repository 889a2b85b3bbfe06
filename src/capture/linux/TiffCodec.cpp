#include "capture/linux/Codecs.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tovrik::capture::codec {

namespace {

// A file in memory for libtiff's client I/O: read from `input`, or written into `output`.
struct MemoryFile {
    BytesView input;
    Bytes* output = nullptr;
    std::size_t position = 0;

    [[nodiscard]] std::size_t Size() const { return output != nullptr ? output->size() : input.size(); }
};

MemoryFile& FileOf(thandle_t handle) {
    return *static_cast<MemoryFile*>(handle);
}

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
    MemoryFile& file = FileOf(handle);
    const std::size_t available = file.position < file.Size() ? file.Size() - file.position : 0;
    const std::size_t count = std::min(static_cast<std::size_t>(size), available);
    const char* data = file.output != nullptr ? file.output->data() : file.input.data();
    std::memcpy(buffer, data + file.position, count);
    file.position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
    MemoryFile& file = FileOf(handle);
    if (file.output == nullptr) {
        return -1;
    }
    const auto count = static_cast<std::size_t>(size);
    if (file.output->size() < file.position + count) {
        file.output->resize(file.position + count, '\0');
    }
    std::memcpy(file.output->data() + file.position, buffer, count);
    file.position += count;
    return size;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    MemoryFile& file = FileOf(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) {
        base = file.position;
    } else if (whence == SEEK_END) {
        base = file.Size();
    }
    file.position = static_cast<std::size_t>(base + offset);
    return file.position;
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t handle) {
    return FileOf(handle).Size();
}

int MapProc(thandle_t, void**, toff_t*) {
    return 0;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int QuietHandler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Errors and warnings stay quiet: a bad file simply gives no picture.
TiffHandle Open(MemoryFile& file, const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, QuietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, QuietHandler, nullptr);
    TiffHandle tiff(TIFFClientOpenExt("memory", mode, &file, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                      MapProc, UnmapProc, options));
    TIFFOpenOptionsFree(options);
    return tiff;
}

// libtiff takes a buffer of one strip or tile as the file declares it before it reads a pixel; a
// damaged file can declare gigabytes for a small picture. A sane strip or tile holds at most the
// whole picture at 16 bits for each of up to four samples, or a tile's padding past small edges.
bool BuffersAllowed(TIFF* tiff, std::uint32_t width, std::uint32_t height) {
    constexpr std::uint64_t kBytesPerPixel = 8;
    constexpr std::uint64_t kSmallBuffer = 16U << 20;
    const std::uint64_t limit = std::max<std::uint64_t>(kSmallBuffer, std::uint64_t{width} * height * kBytesPerPixel);
    const std::uint64_t buffer = TIFFIsTiled(tiff) != 0 ? TIFFTileSize64(tiff) : TIFFStripSize64(tiff);
    return buffer > 0 && buffer <= limit;
}

} // namespace

std::optional<ui::Bitmap> DecodeTiff(BytesView bytes) {
    MemoryFile file{bytes};
    const TiffHandle tiff = Open(file, "rm");
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!tiff || TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) != 1 || !SizeAllowed(width, height) ||
        !BuffersAllowed(tiff.get(), width, height)) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    if (TIFFReadRGBAImageOriented(tiff.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 0) != 1) {
        return std::nullopt;
    }
    ui::Bitmap result;
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    result.pixels.resize(raster.size() * 4);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        const std::uint32_t pixel = raster[i];
        result.pixels[i * 4] = static_cast<std::uint8_t>(TIFFGetB(pixel));
        result.pixels[i * 4 + 1] = static_cast<std::uint8_t>(TIFFGetG(pixel));
        result.pixels[i * 4 + 2] = static_cast<std::uint8_t>(TIFFGetR(pixel));
        result.pixels[i * 4 + 3] = static_cast<std::uint8_t>(TIFFGetA(pixel));
    }
    return result;
}

std::optional<Bytes> EncodeTiff(const ui::Bitmap& image) {
    Bytes out;
    MemoryFile file{{}, &out};
    TiffHandle tiff = Open(file, "w");
    if (!tiff) {
        return std::nullopt;
    }
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* source = image.pixels.data() + static_cast<std::size_t>(y) * image.Stride();
        for (int x = 0; x < image.width; ++x) {
            row[x * 3] = source[x * 4 + 2];
            row[x * 3 + 1] = source[x * 4 + 1];
            row[x * 3 + 2] = source[x * 4];
        }
        if (TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0) != 1) {
            return std::nullopt;
        }
    }
    if (TIFFWriteDirectory(t) != 1) {
        return std::nullopt;
    }
    tiff.reset();
    return out;
}

} // namespace tovrik::capture::codec
