// The BMP decoder of both builds on arbitrary bytes: no crash, whole pictures only, and the
// same picture through the general entry point.
#include "DecodeCheck.h"
#include "capture/BmpCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tovrik::BytesView bytes(reinterpret_cast<const char*>(data), size);
    const auto image = tovrik::capture::DecodeBmp(bytes);
    tovrik::fuzz::CheckDecoded(image, tovrik::capture::ImageFormat::Bmp);
    const auto general = tovrik::capture::DecodeImageBytes(bytes);
    if (image.has_value() != general.has_value() || (image && image->pixels != general->pixels)) {
        __builtin_trap();
    }
    return 0;
}
