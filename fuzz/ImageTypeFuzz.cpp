// Telling pictures apart before decoding them, on arbitrary bytes: the type by the signature
// (in memory and through a file) and the size the header states. No crash; the file gives the
// type the bytes give; a size is only stated for the formats that have one.
#include "capture/ImageFile.h"
#include "capture/PictureSize.h"
#include "files/Files.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

const std::string& ScratchFile() {
    static const std::string path = "/tmp/tovrik-image-type-fuzz-" + std::to_string(::getpid()) + ".bin";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tovrik::capture;
    const tovrik::BytesView bytes(reinterpret_cast<const char*>(data), size);
    const tovrik::Text type = ImageTypeOfBytes(bytes);
    const auto pictureSize = PictureSizeOf(bytes);
    if (pictureSize) {
        Check(type == "BMP" || type == "PNG" || type == "GIF" || type == "JPEG" || type == "TIFF" || size < 16);
        Check(PictureTooLarge(bytes) == (pictureSize->Pixels() > kMaxPicturePixels));
    } else {
        Check(!PictureTooLarge(bytes));
    }
    if (tovrik::files::WriteFile(ScratchFile(), bytes)) {
        Check(ImageFileType(ScratchFile()) == type);
    }
    return 0;
}
