#pragma once

#include "text/Types.h"

#include <cstddef>
#include <string_view>
#include <vector>

// Text rules shared by the two HTTP clients: the method table, header and cookie lines.
namespace tovrik::net {

inline constexpr TextView kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
inline constexpr TextView kFormContentType = "application/x-www-form-urlencoded";
inline constexpr int kMethodPost = 1;

// Method indexes outside 0..7 count as 0 (GET).
[[nodiscard]] int ClampMethod(int method);
[[nodiscard]] Text MethodVerb(int method);

// Case-insensitive search for ASCII markers, matching only on GBK character boundaries; npos
// when absent.
[[nodiscard]] std::size_t FindNoCase(TextView text, TextView needle, std::size_t from = 0);
[[nodiscard]] bool ContainsNoCase(TextView text, TextView needle);
[[nodiscard]] bool StartsWithNoCase(TextView text, TextView prefix);
[[nodiscard]] Text LowerAscii(TextView text);
[[nodiscard]] Text RemoveAllNoCase(TextView text, TextView needle);

// Splits at CR LF; an empty block gives one empty line.
[[nodiscard]] std::vector<Text> SplitLines(TextView block);

// The name=value pieces of the reply's Set-Cookie lines, joined by "; ".
[[nodiscard]] Text ReceivedCookies(TextView responseHeaders);

} // namespace tovrik::net
