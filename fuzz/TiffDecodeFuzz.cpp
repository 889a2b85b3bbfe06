// The Tiff decoder on arbitrary bytes (pictures dropped on the window or named on the command
// line): no crash, no leak, and whole pictures only.
#include "DecodeCheck.h"
#include "capture/linux/Codecs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tovrik::BytesView bytes(reinterpret_cast<const char*>(data), size);
    tovrik::fuzz::CheckDecoded(tovrik::capture::codec::DecodeTiff(bytes), tovrik::capture::ImageFormat::Tiff);
    return 0;
}
