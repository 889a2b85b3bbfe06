#include "text/Trim.h"

namespace tovrik::text {

namespace {
constexpr std::string_view kWideSpace = "\xA1\xA1";
}

std::string Trim(std::string_view text) {
    for (;;) {
        if (text.starts_with(' ')) {
            text.remove_prefix(1);
        } else if (text.starts_with(kWideSpace)) {
            text.remove_prefix(kWideSpace.size());
        } else {
            break;
        }
    }
    for (;;) {
        if (text.ends_with(' ')) {
            text.remove_suffix(1);
        } else if (text.ends_with(kWideSpace)) {
            text.remove_suffix(kWideSpace.size());
        } else {
            break;
        }
    }
    return std::string(text);
}

} // namespace tovrik::text
