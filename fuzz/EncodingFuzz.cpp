// The conversions between GBK program text, UTF-16 and UTF-8 on arbitrary bytes: no crash, the
// piecewise conversions of long texts equal the conversion of the whole, and a text that has
// been through a conversion once comes back unchanged from a round trip.
#include "text/Encoding.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using tovrik::Bytes;
using tovrik::Text;
namespace t = tovrik::text;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The conversions of long texts go in pieces; they must equal the conversion of the whole.
void PiecewiseEqualsWhole(std::string_view input) {
    Check(t::Utf8ToText(input) == t::WideToLocal(t::MultiByteToWide(input, t::kCodePageUtf8)));
    Check(t::TextToUtf8(input) == t::WideToMultiByte(t::LocalToWide(input), t::kCodePageUtf8));
}

void Properties(std::string_view input) {
    const Bytes wideFromUtf8 = t::MultiByteToWide(input, t::kCodePageUtf8);
    const Text text = t::Utf8ToText(input);
    const Bytes utf8 = t::TextToUtf8(input);
    PiecewiseEqualsWhole(input);

    // Round trips of text that has been converted once.
    Check(t::Utf8ToText(t::TextToUtf8(text)) == text);
    Check(t::TextToUtf8(t::Utf8ToText(utf8)) == utf8);
    // Compared as text, not as UTF-16: a sequence cut short at the end swallows the terminator
    // (as the system conversion does), so the first UTF-16 may lack the zero unit.
    const Bytes utf8Again = t::WideToMultiByte(wideFromUtf8, t::kCodePageUtf8);
    Check(t::WideToMultiByte(t::MultiByteToWide(utf8Again, t::kCodePageUtf8), t::kCodePageUtf8) == utf8Again);
    Check(t::WideToLocal(t::LocalToWide(text)) == text);

    // UTF-16 in, an odd byte included.
    (void)t::WideToLocal(input);
    (void)t::UnicodeBytesToText(input);
    (void)t::ConvertCharset(input);
    (void)t::ConvertCharset(input, "GBK", "UTF-8");
    (void)t::ConvertCharset(input, "unicode", "GBK", input.size() % 5);
    (void)t::ConvertCharset(input, "big5", "unicode");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Properties(input);
    // Long texts convert in pieces of 16 KiB: repeat the input past a piece boundary.
    if (size > 0 && size < 4096) {
        std::string repeated;
        while (repeated.size() < 16 * 1024 + 64) {
            repeated.append(input);
        }
        PiecewiseEqualsWhole(repeated);
    }
    return 0;
}
