#pragma once

#include "text/Types.h"

// UTF-8 as the Windows conversion functions (code page 65001, flags 0) handle it, as measured:
// the lead byte fixes the sequence length (C2-DF two, E0-EF three, F0-F4 four; 80-C1 and
// F5-FF stand alone); a sequence that breaks off becomes one U+FFFD covering the bytes checked
// so far; a sequence longer than what is left of the input swallows the rest as one U+FFFD.
// Writing, an unpaired surrogate becomes EF BF BD.
namespace tovrik::text {

[[nodiscard]] Bytes SystemUtf8ToWide(BytesView utf8);
[[nodiscard]] Bytes SystemWideToUtf8(BytesView utf16);

} // namespace tovrik::text
