#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovrik::standin {

[[nodiscard]] std::string Base64Encode(std::string_view bytes);

// Standard alphabet; padding may be left out and line breaks are skipped. Anything else outside
// the alphabet (a space left from an unescaped "+", say) makes the text invalid.
[[nodiscard]] std::optional<std::string> Base64Decode(std::string_view text);

} // namespace tovrik::standin
