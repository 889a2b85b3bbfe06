#include "ui/linux/TestHook.h"

#include "text/Encoding.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef TOVRIK_TEST_HOOK
#define TOVRIK_TEST_HOOK 0
#endif

namespace tovrik::ui {

bool TestHook::Enabled() {
    if constexpr (TOVRIK_TEST_HOOK == 0) {
        return false;
    }
    static const bool enabled = [] {
        const char* value = std::getenv("TOVRIK_TEST_HOOK");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

void TestHook::Report(std::string_view kind, TextView subject, TextView text) {
    if (!Enabled()) {
        return;
    }
    const std::string line = "TOVRIK-HOOK " + std::string(kind) + " " + Escape(text::TextToUtf8(subject)) + " " +
                             Escape(text::TextToUtf8(text)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::string TestHook::Escape(std::string_view utf8) {
    std::string escaped;
    escaped.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace tovrik::ui
