#pragma once

#include "text/Types.h"

// File names as program text. Code page 936 has two-byte characters whose second byte can be
// "\" (0x5C) or "|" (0x7C), so these helpers step over whole characters instead of bytes.
namespace tovrik::capture {

// Bytes taken by the character that starts at `index`: 2 for a lead byte followed by another
// byte, otherwise 1.
[[nodiscard]] std::size_t CharLength(TextView text, std::size_t index);

// Both "/" and "\" become `separator`, then each pair of separators becomes one. A network
// path's leading pair of backslashes stays.
[[nodiscard]] Text NormalisePath(TextView path, char separator);

// The text after the last "." when that dot comes after the last separator ("/" or "\");
// empty when there is none.
[[nodiscard]] Text PathExtension(TextView path);

// Whether the text ends with `suffix`, ASCII letters compared without case.
[[nodiscard]] bool EndsWithIgnoringCase(TextView text, TextView suffix);

} // namespace tovrik::capture
