#include "app/HotkeyText.h"

#include "app/HotkeyRegistrar.h"
#include "ui/Keyboard.h"

#include <vector>

namespace tovrik::app {

namespace {

enum class Compare { Exact, Lower, Upper, IgnoreCase };

struct KeyRow {
    const char* name;
    Compare compare;
    int code;
};

// Searched in this order; the first match wins.
constexpr KeyRow kFixedRows[] = {
    {"win键", Compare::Lower, 91},
    {"ctrl键", Compare::Lower, 17},
    {"shift键", Compare::Lower, 16},
    {"alt键", Compare::Lower, 18},
};

constexpr KeyRow kNamedRows[] = {
    {"break键", Compare::Exact, 3},
    {"Tab键", Compare::Exact, 9},
    {"回车键", Compare::Exact, 13},
    {"pause键", Compare::Lower, 19},
    {"capsLock键", Compare::IgnoreCase, 20},
    {"numLock键", Compare::IgnoreCase, 144},
    {"scrollLock键", Compare::IgnoreCase, 145},
    {"esc键", Compare::Lower, 27},
    {"空格键", Compare::Exact, 32},
    {"pageup键", Compare::Lower, 33},
    {"pagedown键", Compare::Lower, 34},
    {"home键", Compare::Lower, 36},
    {"end键", Compare::Lower, 35},
    {"左光标键", Compare::Exact, 37},
    {"上光标键", Compare::Exact, 38},
    {"右光标键", Compare::Exact, 39},
    {"下光标键", Compare::Exact, 40},
    {"ins键", Compare::Lower, 45},
    {"del键", Compare::Lower, 46},
    {"分号键", Compare::Exact, 186},
    {"等号键", Compare::Exact, 187},
    {"逗号键", Compare::Exact, 188},
    {"减号键", Compare::Exact, 189},
    {"圆点键", Compare::Exact, 190},
    {"除号键", Compare::Exact, 191},
    {"反撇号键", Compare::Exact, 192},
    {"左中括号键", Compare::Exact, 219},
    {"右中括号键", Compare::Exact, 221},
    {"斜杠键", Compare::Exact, 220},
    {"单引号键", Compare::Exact, 222},
    {"乘号键", Compare::Exact, 106},
    {"加号键", Compare::Exact, 107},
    {"退格键", Compare::Exact, 8},
    {"左shift键", Compare::Lower, 160},
    {"右shift键", Compare::Lower, 161},
    {"左CTRL键", Compare::Upper, 162},
    {"右CTRL键", Compare::Upper, 163},
};

// Folds ASCII letters only; a double-byte GBK character is skipped whole, since its second
// byte may look like a letter.
Text Fold(TextView text, bool upper) {
    Text out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto byte = static_cast<unsigned char>(out[i]);
        if (byte >= 0x81 && byte <= 0xFE) {
            ++i;
        } else if (upper && byte >= 'a' && byte <= 'z') {
            out[i] = static_cast<char>(byte - 'a' + 'A');
        } else if (!upper && byte >= 'A' && byte <= 'Z') {
            out[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return out;
}

bool Matches(const Text& key, TextView row, Compare compare) {
    switch (compare) {
    case Compare::Exact:
        return key == row;
    case Compare::Lower:
        return Fold(key, false) == row;
    case Compare::Upper:
        return Fold(key, true) == row;
    case Compare::IgnoreCase:
        return Fold(key, false) == Fold(row, false);
    }
    return false;
}

// "0键".."9键" exactly, "A键".."Z键" and "F1键".."F16键" folded to upper case.
int GeneratedRowCode(const Text& key) {
    const Text keySuffix = "键";
    if (key.size() < keySuffix.size() || key.compare(key.size() - keySuffix.size(), keySuffix.size(), keySuffix) != 0) {
        return 0;
    }
    const TextView stem = TextView(key).substr(0, key.size() - keySuffix.size());
    if (stem.size() == 1 && stem[0] >= '0' && stem[0] <= '9') {
        return stem[0];
    }
    const Text upper = Fold(stem, true);
    if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z') {
        return upper[0];
    }
    for (int n = 1; n <= 16; ++n) {
        if (upper == Text("F").append(std::to_string(n))) {
            return 111 + n;
        }
    }
    return 0;
}

std::vector<TextView> SplitParts(TextView text) {
    std::vector<TextView> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        parts.push_back(text.substr(start, plus == TextView::npos ? TextView::npos : plus - start));
        if (plus == TextView::npos) {
            return parts;
        }
        start = plus + 1;
    }
}

bool IsModifierCode(int code) {
    return code == ui::kVkShift || code == ui::kVkControl || code == ui::kVkAlt;
}

} // namespace

int KeyCodeOfPart(TextView part) {
    const Text key = Text(part) + "键";
    for (const KeyRow& row : kFixedRows) {
        if (Matches(key, row.name, row.compare)) {
            return row.code;
        }
    }
    if (const int code = GeneratedRowCode(key); code != 0) {
        return code;
    }
    for (const KeyRow& row : kNamedRows) {
        if (Matches(key, row.name, row.compare)) {
            return row.code;
        }
    }
    return 0;
}

unsigned HotkeyModifiers(TextView hotkeyText) {
    // The flags are or-ed, so that a part given twice cannot turn into another modifier.
    unsigned modifiers = 0;
    for (const TextView part : SplitParts(hotkeyText)) {
        switch (KeyCodeOfPart(part)) {
        case ui::kVkControl:
            modifiers |= kModControl;
            break;
        case ui::kVkAlt:
            modifiers |= kModAlt;
            break;
        case ui::kVkShift:
            modifiers |= kModShift;
            break;
        default:
            break;
        }
    }
    return modifiers;
}

int HotkeyVirtualKey(TextView hotkeyText) {
    for (const TextView part : SplitParts(hotkeyText)) {
        if (const int code = KeyCodeOfPart(part); !IsModifierCode(code)) {
            return code;
        }
    }
    return 0;
}

} // namespace tovrik::app
