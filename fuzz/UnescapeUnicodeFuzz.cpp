// The escapes of a translation reply decoded on arbitrary text: no crash, and text without
// any "\", "%", "{", CR (a leading CR drops them all) or apostrophe (parked as a quotation mark,
// whose literal this build keeps in UTF-8) comes back as it went in.
#include "services/UnescapeUnicode.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tovrik::Text decoded = tovrik::services::UnescapeUnicode(text);
    if (text.find_first_of("\\%{\r'") == std::string_view::npos && text.find('\0') == std::string_view::npos) {
        bool ascii = true;
        for (const char c : text) {
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        }
        if (ascii && decoded != text) {
            __builtin_trap();
        }
    }
    return 0;
}
