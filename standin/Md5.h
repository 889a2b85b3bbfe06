#pragma once

#include <string>
#include <string_view>

namespace tovrik::standin {

// 32 lowercase hexadecimal digits.
[[nodiscard]] std::string Md5Hex(std::string_view bytes);

} // namespace tovrik::standin
