#include "capture/linux/Codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

// libjpeg reports fatal errors through a callback that must not return: it jumps back to the
// setjmp below. Everything with a destructor is created before the setjmp, so the jump skips
// no destructor.
namespace tovrik::capture::codec {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}

void InstallErrorManager(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = OnFatalError;
    errors.base.output_message = OnMessage;
}

// Out of line: inlined into the function that calls setjmp, the vector's own loop variables
// could be clobbered by the error handler's longjmp.
[[gnu::noinline]] void SizePixels(ui::Bitmap& image) {
    image.pixels.resize(image.Stride() * static_cast<std::size_t>(image.height));
}

} // namespace

std::optional<ui::Bitmap> DecodeJpeg(BytesView bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    ui::Bitmap result;
    info.err = &errors.base;
    InstallErrorManager(errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    // The extended output spaces convert from grey and YCbCr only.
    if ((info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
         info.jpeg_color_space != JCS_RGB) ||
        !SizeAllowed(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    result.width = static_cast<int>(info.output_width);
    result.height = static_cast<int>(info.output_height);
    SizePixels(result);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result.pixels.data() + static_cast<std::size_t>(info.output_scanline) * result.Stride();
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return result;
}

std::optional<Bytes> EncodeJpeg(const ui::Bitmap& image, int quality) {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    info.err = &errors.base;
    InstallErrorManager(errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return std::nullopt;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg's row type is not const, but it only reads the rows it is given.
        auto* row =
            const_cast<JSAMPLE*>(image.pixels.data() + static_cast<std::size_t>(info.next_scanline) * image.Stride());
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

} // namespace tovrik::capture::codec
