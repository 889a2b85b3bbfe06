#include "capture/ImageFile.h"

#include "capture/PathText.h"
#include "files/Files.h"
#include "text/Trim.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace tovrik::capture {

namespace {

constexpr std::size_t kSignatureBytes = 16;
constexpr int kDefaultSaveQuality = 100;

struct Signature {
    std::initializer_list<TextView> prefixes;
    TextView type;
};

// First match wins, so the order matters: a cursor file (00 00 02 00 00 ...) reads as TGA.
const std::array<Signature, 17> kSignatures = {{
    {{"FFD8FF"}, "JPEG"},
    {{"89504E470D0A1A0A0000000D49484452"}, "PNG"},
    {{"47494638", "474946383761", "474946383961"}, "GIF"},
    {{"49492A00", "4D4D002A"}, "TIFF"},
    {{"424D"}, "BMP"},
    {{"0A"}, "PCX"},
    {{"3C"}, "SVG"},
    {{"38425053000100000000000000"}, "PSD"},
    {{"465753"}, "SWF"},
    {{"D7CDC69A0000"}, "WMF"},
    {{"01000000"}, "EMF"},
    {{"C5D0D3C6"}, "EPS"},
    {{"0000020000", "0000100000"}, "TGA"},
    {{"00000100"}, "ICO"},
    {{"00000200"}, "CUR"},
    {{"52494646"}, "ANI"},
    {{"464F524D"}, "IFF"},
}};

struct FormatEntry {
    ImageFormat format;
    TextView extension; // added by EncodeImage
};

constexpr std::array<FormatEntry, 5> kFormats = {{
    {ImageFormat::Bmp, ".bmp"},
    {ImageFormat::Jpeg, ".jpg"},
    {ImageFormat::Gif, ".gif"},
    {ImageFormat::Tiff, ".tiff"},
    {ImageFormat::Png, ".png"},
}};

// SaveImageFile's names of the formats: exact, so "PNG", "jpeg" and "tiff" are not among them.
ImageFormat FormatOfName(TextView name) {
    if (name == "jpg") {
        return ImageFormat::Jpeg;
    }
    if (name == "gif") {
        return ImageFormat::Gif;
    }
    if (name == "tif") {
        return ImageFormat::Tiff;
    }
    if (name == "png") {
        return ImageFormat::Png;
    }
    return ImageFormat::Bmp;
}

Text HexDigits(BytesView bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    Text hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

} // namespace

bool EncodeImage(BytesView image, int format, TextView path, Bytes& outputOut) {
    if (image.size() <= 2 || format < 1 || format > static_cast<int>(kFormats.size())) {
        return false;
    }
    const FormatEntry& entry = kFormats[static_cast<std::size_t>(format - 1)];
    const std::optional<ui::Bitmap> decoded = DecodeImageBytes(image);
    if (!decoded) {
        return false;
    }
    std::optional<Bytes> encoded = EncodeBitmap(*decoded, entry.format);
    if (!encoded) {
        return false;
    }
    const Text target = text::Trim(path);
    if (!target.empty()) {
        const Text name = EndsWithIgnoringCase(target, entry.extension) ? target : target + Text(entry.extension);
        if (!files::WriteFile(name, *encoded)) {
            return false;
        }
    }
    outputOut = std::move(*encoded);
    return true;
}

Bytes ToJpegBytes(BytesView image) {
    Bytes jpeg;
    if (!EncodeImage(image, static_cast<int>(ImageFormat::Jpeg), {}, jpeg)) {
        return {};
    }
    return jpeg;
}

bool SaveImageFile(const ui::Bitmap& image, TextView path, TextView format, std::optional<int> quality) {
    if (image.Empty() || path.empty()) {
        return false;
    }
    const Text target = NormalisePath(path, files::PathSeparator());
    const Text name = format.empty() ? PathExtension(target) : Text(format);
    const ImageFormat chosen = FormatOfName(name);
    const int jpegQuality = std::clamp(quality.value_or(kDefaultSaveQuality), 0, 100);
    const std::optional<Bytes> encoded =
        EncodeBitmap(image, chosen, chosen == ImageFormat::Jpeg ? std::optional<int>(jpegQuality) : std::nullopt);
    return encoded && files::WriteFile(target, *encoded);
}

Text ImageFileType(TextView path) {
    // The signature is all it takes: the rest of the file is never read, and a pipe, a device
    // or a folder is no picture.
    const std::optional<Bytes> head = files::ReadFileHead(path, kSignatureBytes);
    if (!head) {
        return {};
    }
    return ImageTypeOfBytes(*head);
}

Text ImageTypeOfBytes(BytesView head) {
    if (head.size() < kSignatureBytes) {
        return {};
    }
    const Text hex = HexDigits(head.substr(0, kSignatureBytes));
    for (const Signature& signature : kSignatures) {
        for (const TextView prefix : signature.prefixes) {
            if (TextView(hex).starts_with(prefix)) {
                return Text(signature.type);
            }
        }
    }
    return {};
}

} // namespace tovrik::capture
