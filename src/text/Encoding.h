#pragma once

#include "text/Types.h"

#include <cstddef>
#include <optional>

// Conversions between program text (code page 936), UTF-16 and UTF-8, and the encodings the
// web services need. None of them reports an error: the worst result is empty output.
namespace tovrik::text {

inline constexpr unsigned kCodePageGbk = 936;
inline constexpr unsigned kCodePageUtf8 = 65001;

// UTF-16 little-endian bytes, terminating zero unit included.
[[nodiscard]] Bytes LocalToWide(TextView text);
[[nodiscard]] Bytes MultiByteToWide(BytesView bytes, unsigned codePage);
// Stops at the first zero unit; the terminator never reaches the output.
[[nodiscard]] Bytes WideToMultiByte(BytesView utf16, unsigned codePage);
[[nodiscard]] Text WideToLocal(BytesView utf16);

[[nodiscard]] Bytes TextToUtf8(TextView text);
[[nodiscard]] Text Utf8ToText(BytesView utf8);

// Charset names as the stream object knows them ("UTF-8", "GBK", "unicode", "big5", ...);
// empty names mean UTF-8 to GBK. An unknown name gives empty bytes.
[[nodiscard]] Bytes ConvertCharset(BytesView bytes, TextView fromCharset = {}, TextView toCharset = {},
                                   std::optional<std::size_t> skip = std::nullopt);
[[nodiscard]] Text UnicodeBytesToText(BytesView utf16);

[[nodiscard]] Text UrlEncode(TextView text, bool keepUnreserved = false, bool utf8 = false);
[[nodiscard]] Text Base64Encode(BytesView bytes);
[[nodiscard]] Text Md5Hex(BytesView bytes, bool uppercase = false, bool shortForm = false);

} // namespace tovrik::text
