#include "ui/linux/KeyCodes.h"

#include "ui/Keyboard.h"

#include <X11/keysym.h>

#include <utility>

namespace tovrik::ui {

namespace {

// The first row of each code is the symbol grabbed for it.
constexpr std::pair<unsigned long, int> kKeys[] = {
    {XK_BackSpace, 8},
    {XK_Tab, 9},
    {XK_ISO_Left_Tab, 9},
    {XK_Return, 13},
    {XK_KP_Enter, 13},
    {XK_Pause, 19},
    {XK_Break, 3},
    {XK_Caps_Lock, 20},
    {XK_Escape, 27},
    {XK_space, 32},
    {XK_Prior, 33},
    {XK_KP_Prior, 33},
    {XK_Next, 34},
    {XK_KP_Next, 34},
    {XK_End, 35},
    {XK_KP_End, 35},
    {XK_Home, 36},
    {XK_KP_Home, 36},
    {XK_Left, 37},
    {XK_KP_Left, 37},
    {XK_Up, 38},
    {XK_KP_Up, 38},
    {XK_Right, 39},
    {XK_KP_Right, 39},
    {XK_Down, 40},
    {XK_KP_Down, 40},
    {XK_Print, 44},
    {XK_Sys_Req, 44},
    {XK_Insert, 45},
    {XK_KP_Insert, 45},
    {XK_Delete, 46},
    {XK_KP_Delete, 46},
    {XK_Super_L, 91},
    {XK_Super_R, 92},
    {XK_Menu, 93},
    {XK_KP_Multiply, 106},
    {XK_KP_Add, 107},
    {XK_KP_Separator, 108},
    {XK_KP_Subtract, 109},
    {XK_KP_Decimal, 110},
    {XK_KP_Divide, 111},
    {XK_Num_Lock, 144},
    {XK_Scroll_Lock, 145},
    {XK_Shift_L, kVkLeftShift},
    {XK_Shift_R, kVkRightShift},
    {XK_Control_L, kVkLeftControl},
    {XK_Control_R, kVkRightControl},
    {XK_Alt_L, kVkLeftAlt},
    {XK_Meta_L, kVkLeftAlt},
    {XK_Alt_R, kVkRightAlt},
    {XK_Meta_R, kVkRightAlt},
    {XK_ISO_Level3_Shift, kVkRightAlt},
    {XK_semicolon, 186},
    {XK_colon, 186},
    {XK_equal, 187},
    {XK_plus, 187},
    {XK_comma, 188},
    {XK_less, 188},
    {XK_minus, 189},
    {XK_underscore, 189},
    {XK_period, 190},
    {XK_greater, 190},
    {XK_slash, 191},
    {XK_question, 191},
    {XK_grave, 192},
    {XK_asciitilde, 192},
    {XK_bracketleft, 219},
    {XK_braceleft, 219},
    {XK_backslash, 220},
    {XK_bar, 220},
    {XK_bracketright, 221},
    {XK_braceright, 221},
    {XK_apostrophe, 222},
    {XK_quotedbl, 222},
    // The shifted digits of a US layout.
    {XK_parenright, '0'},
    {XK_exclam, '1'},
    {XK_at, '2'},
    {XK_numbersign, '3'},
    {XK_dollar, '4'},
    {XK_percent, '5'},
    {XK_asciicircum, '6'},
    {XK_ampersand, '7'},
    {XK_asterisk, '8'},
    {XK_parenleft, '9'},
};

} // namespace

int VirtualKeyFromKeysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) {
        return static_cast<int>(keysym - XK_a) + 'A';
    }
    if (keysym >= XK_A && keysym <= XK_Z) {
        return static_cast<int>(keysym - XK_A) + 'A';
    }
    if (keysym >= XK_0 && keysym <= XK_9) {
        return static_cast<int>(keysym - XK_0) + '0';
    }
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        return static_cast<int>(keysym - XK_KP_0) + 96;
    }
    if (keysym >= XK_F1 && keysym <= XK_F24) {
        return static_cast<int>(keysym - XK_F1) + 112;
    }
    for (const auto& [symbol, code] : kKeys) {
        if (symbol == keysym) {
            return code;
        }
    }
    return 0;
}

unsigned long KeysymFromVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return XK_a + static_cast<unsigned long>(virtualKey - 'A');
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return XK_0 + static_cast<unsigned long>(virtualKey - '0');
    }
    if (virtualKey >= 96 && virtualKey <= 105) {
        return XK_KP_0 + static_cast<unsigned long>(virtualKey - 96);
    }
    if (virtualKey >= 112 && virtualKey <= 135) {
        return XK_F1 + static_cast<unsigned long>(virtualKey - 112);
    }
    switch (virtualKey) {
    case kVkShift:
        return XK_Shift_L;
    case kVkControl:
        return XK_Control_L;
    case kVkAlt:
        return XK_Alt_L;
    default:
        break;
    }
    for (const auto& [symbol, code] : kKeys) {
        if (code == virtualKey) {
            return symbol;
        }
    }
    return 0;
}

int MessageVirtualKey(int virtualKey) {
    switch (virtualKey) {
    case kVkLeftShift:
    case kVkRightShift:
        return kVkShift;
    case kVkLeftControl:
    case kVkRightControl:
        return kVkControl;
    case kVkLeftAlt:
    case kVkRightAlt:
        return kVkAlt;
    default:
        return virtualKey;
    }
}

} // namespace tovrik::ui
