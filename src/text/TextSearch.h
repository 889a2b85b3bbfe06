#pragma once

#include "text/Types.h"

#include <cstddef>
#include <vector>

// Searching program text by characters rather than bytes: in GBK a trail byte can look like an
// ASCII letter, backslash or bracket, so a match must begin where a character begins.
namespace tovrik::text {

[[nodiscard]] inline bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// Byte offset of the first match starting on a character boundary at or after `from`, or npos.
// Case-insensitive matching folds only ASCII letters that are characters of their own.
[[nodiscard]] std::size_t FindText(TextView text, TextView marker, std::size_t from = 0, bool ignoreCase = false);

// The pieces between separators; an empty separator gives the whole text as one piece.
[[nodiscard]] std::vector<TextView> SplitText(TextView text, TextView separator);

} // namespace tovrik::text
