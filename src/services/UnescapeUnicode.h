#pragma once

#include "text/Types.h"

namespace tovrik::services {

// Decodes the escapes a translation reply may carry inside its text: "\uXXXX" and "%uXXXX"
// become that UTF-16 unit, "%XX" becomes the character U+00XX, as the script function
// unescape does; characters that code page 936 lacks come out as "?". Everything else,
// apostrophes, line breaks and other backslashes included, is kept (a right single quotation
// mark comes back as an apostrophe).
[[nodiscard]] Text UnescapeUnicode(TextView text);

} // namespace tovrik::services
