#pragma once

#include "text/Types.h"

#include <string_view>

namespace tovrik::ui {

// What the end-to-end tests read instead of the screen. Compiled in only when the tests are
// built, and active only with TOVRIK_TEST_HOOK=1 in the environment: each report is one line on
// standard output, "TOVRIK-HOOK <kind> <subject> <text>", in UTF-8 with CR, LF and the
// backslash escaped.
class TestHook {
public:
    [[nodiscard]] static bool Enabled();
    // The text is program text.
    static void Report(std::string_view kind, TextView subject, TextView text = {});
    // CR, LF and backslash as \r, \n and \\.
    [[nodiscard]] static std::string Escape(std::string_view utf8);
};

} // namespace tovrik::ui
