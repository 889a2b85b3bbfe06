#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Splits a fuzz input into the arguments of a call: pieces separated by 0xFF, a byte that is
// neither ASCII nor part of any GBK or UTF-8 character, so the pieces themselves stay free.
namespace tovrik::fuzz {

inline std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t end = rest.find('\xff');
        if (end == std::string_view::npos) {
            break;
        }
        parts.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}

} // namespace tovrik::fuzz
