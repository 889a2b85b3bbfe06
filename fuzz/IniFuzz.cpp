// The settings file reader and editor on arbitrary file bytes: no crash, and an item written
// into any file reads back as written.
#include "settings/IniText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using tovrik::TextView;

struct Probe {
    TextView section;
    TextView key;
};

// Names the program uses, ASCII and Chinese, in other cases and with blanks around them.
constexpr Probe kProbes[] = {
    {"Hotkey", "\xbd\xd8\xcd\xbc\xc8\xc8\xbc\xfc"}, // 截图热键 in code page 936
    {"OCR", "AccessToken"},
    {"ocr", "GETTIME"},
    {"Config", "\xbd\xd8\xcd\xbc\xca\xb1\xd2\xfe\xb2\xd8"}, // 截图时隐藏
    {"s", "k"},
    {" Spaced ", " Name  "},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    for (const Probe& probe : kProbes) {
        (void)tovrik::settings::IniLookup(file, probe.section, probe.key);
    }
    for (const Probe& probe : kProbes) {
        const tovrik::Bytes updated = tovrik::settings::IniUpdate(file, probe.section, probe.key, "written value");
        const auto value = tovrik::settings::IniLookup(updated, probe.section, probe.key);
        if (!value || *value != "written value") {
            __builtin_trap();
        }
    }
    return 0;
}
