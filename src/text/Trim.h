#pragma once

#include <string>
#include <string_view>

namespace tovrik::text {

// Trims spaces and the double-byte GBK space (0xA1 0xA1) from both ends. Tabs and line
// breaks are content, not padding, and stay.
[[nodiscard]] std::string Trim(std::string_view text);

} // namespace tovrik::text
