#pragma once

#include <string_view>

namespace tovrik::json {

// Duktape refuses to turn a string into a number when its decimal exponent is above ten million
// ("1e99999999", or "24.3e123456789.x", as a random token may read): it throws a RangeError where
// ECMAScript gives Infinity, 0 or NaN. This gives ECMAScript's answer for such a string: +-Infinity
// or 0 for a decimal literal (white space around it allowed), NaN for anything else.
[[nodiscard]] double NumberOfOverlongExponent(std::string_view engineText);

} // namespace tovrik::json
