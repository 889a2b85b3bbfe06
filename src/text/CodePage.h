#pragma once

#include "text/Types.h"

// The platform's code-page conversion: the Windows conversion functions called with flags 0 and
// no default character, or on Linux a mirror that replaces malformed and unmappable input the
// same way byte for byte. Counted: every input byte or unit is converted, zero ones included, so
// callers decide about terminators. A code page the platform can't convert gives empty bytes.
namespace tovrik::text::codepage {

// Bytes in the code page to UTF-16 little-endian bytes.
[[nodiscard]] Bytes ToWide(BytesView bytes, unsigned codePage);
// UTF-16 little-endian bytes (an odd trailing byte is ignored) to bytes in the code page.
[[nodiscard]] Bytes FromWide(BytesView utf16, unsigned codePage);

} // namespace tovrik::text::codepage
