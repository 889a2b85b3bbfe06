#pragma once

#include "text/Types.h"

#include <cstddef>

// Text operations on header blocks (lines joined by CR LF) and cookie lists (items joined by
// "; "), shared by both HTTP clients. Positions are 1-based byte positions.
namespace tovrik::text {

// "#引号" in either marker stands for a double quote.
[[nodiscard]] Text TextBetween(TextView text, TextView startMarker, TextView endMarker, std::size_t start = 1,
                               bool ignoreCase = false);
[[nodiscard]] Text TextBefore(TextView text, TextView marker, std::size_t start = 1, bool ignoreCase = false);
[[nodiscard]] Text HeaderName(TextView line);
[[nodiscard]] Text HeaderValue(TextView line);
[[nodiscard]] Text CookieName(TextView item);
[[nodiscard]] Text CapitalizeWord(TextView word);
[[nodiscard]] Text NormalizeHeaderNames(TextView block);
// Both lists are rewritten: trimmed forms, and the merged list (before de-duplication) into oldListOut.
[[nodiscard]] Text MergeCookies(Text& oldListOut, Text& newListOut);
[[nodiscard]] Text RemoveDuplicates(TextView text, TextView separator);

} // namespace tovrik::text
