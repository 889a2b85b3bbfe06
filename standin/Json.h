#pragma once

#include <string>
#include <string_view>

namespace tovrik::standin {

// A JSON string literal, quotes included. With asciiOnly every character beyond ASCII is written
// as \uXXXX (surrogate pairs above the BMP), as some services send their replies; otherwise
// UTF-8 passes through. Malformed UTF-8 comes out as U+FFFD, so the reply always parses.
[[nodiscard]] std::string JsonQuote(std::string_view utf8, bool asciiOnly = false);

} // namespace tovrik::standin
