#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// Malformed or truncated sequences decode to U+FFFD, one per offending byte.
[[nodiscard]] std::vector<char32_t> DecodeUtf8(std::string_view text);
[[nodiscard]] std::string EncodeUtf8(std::u32string_view codePoints);

} // namespace tovrik::standin
