#include "ui/KeyMessages.h"

#include "ui/Keyboard.h"

#include <string>
#include <utility>

namespace tovrik::ui {

namespace {

bool IsAlt(int virtualKey) {
    return virtualKey == kVkAlt || virtualKey == kVkLeftAlt || virtualKey == kVkRightAlt;
}

bool IsControl(int virtualKey) {
    return virtualKey == kVkControl || virtualKey == kVkLeftControl || virtualKey == kVkRightControl;
}

// Keys whose name is not their character.
constexpr std::pair<int, const char*> kNamedKeys[] = {
    {8, "Backspace"},
    {9, "Tab"},
    {13, "Enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "Alt"},
    {19, "Pause"},
    {20, "Caps Lock"},
    {27, "Esc"},
    {32, "Space"},
    {33, "Page Up"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Left"},
    {38, "Up"},
    {39, "Right"},
    {40, "Down"},
    {44, "Prnt Scrn"},
    {45, "Insert"},
    {46, "Delete"},
    {91, "Left Windows"},
    {92, "Right Windows"},
    {93, "Application"},
    {106, "Num *"},
    {107, "Num +"},
    {109, "Num -"},
    {110, "Num Del"},
    {111, "Num /"},
    {144, "Num Lock"},
    {145, "Scroll Lock"},
    // Left and right Ctrl and Alt share a scan code, so the name does not tell the sides apart.
    {160, "Shift"},
    {161, "Right Shift"},
    {162, "Ctrl"},
    {163, "Ctrl"},
    {164, "Alt"},
    {165, "Alt"},
    {186, ";"},
    {187, "="},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "`"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "'"},
};

} // namespace

EventKind KeyMessageKind(bool down, int virtualKey, bool altDown, bool ctrlDown) {
    const bool system = !ctrlDown && !IsControl(virtualKey) && (altDown || IsAlt(virtualKey) || virtualKey == kVkF10);
    if (down) {
        return system ? EventKind::SysKeyDown : EventKind::KeyDown;
    }
    return system ? EventKind::SysKeyUp : EventKind::KeyUp;
}

Text StandardKeyName(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return Text(1, static_cast<char>(virtualKey));
    }
    if (virtualKey >= 96 && virtualKey <= 105) {
        return Text("Num ").append(std::to_string(virtualKey - 96));
    }
    if (virtualKey >= 112 && virtualKey <= 135) {
        return Text("F").append(std::to_string(virtualKey - 111));
    }
    for (const auto& [code, name] : kNamedKeys) {
        if (code == virtualKey) {
            return name;
        }
    }
    return {};
}

} // namespace tovrik::ui
