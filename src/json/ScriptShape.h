#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovrik::json {

// The form in which an engine may compile a short script once and run it again. Bracketed
// array indexes are taken out, so that "a[0].b" and "a[1].b" share one compiled form: they
// become reads of reserved global variables (kIndexVariable + position) that the engine sets
// before each run. Reading an element through a variable holding the same number is the same
// operation, so the result does not change.
//
// Indexes are taken out only where that cannot change the meaning: not in scripts with a '/'
// (regular expression, comment or division), an unterminated quote or the reserved name, and
// never an index with a leading zero (legacy octal). Other short scripts keep their text.
struct ScriptShape {
    static constexpr std::string_view kIndexVariable = "__tovrik_index";
    static constexpr std::size_t kMaximumLength = 2048;
    static constexpr std::size_t kMaximumIndexes = 8;

    bool reusable = false;         // false for scripts too long to keep
    std::string text;              // the form to compile
    std::vector<unsigned> indexes; // the values of the indexes taken out, in order
};

[[nodiscard]] ScriptShape ShapeOf(std::string_view script);

} // namespace tovrik::json
