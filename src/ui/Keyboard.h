#pragma once

#include "text/Types.h"

namespace tovrik::ui {

// Windows virtual-key codes; the core uses them on every platform.
inline constexpr int kVkShift = 16;
inline constexpr int kVkControl = 17;
inline constexpr int kVkAlt = 18;
inline constexpr int kVkF10 = 121;
inline constexpr int kVkLeftShift = 160;
inline constexpr int kVkRightShift = 161;
inline constexpr int kVkLeftControl = 162;
inline constexpr int kVkRightControl = 163;
inline constexpr int kVkLeftAlt = 164;
inline constexpr int kVkRightAlt = 165;

// The keyboard as the hotkey boxes see it.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // The key's name as Windows spells it ("Ctrl", "Alt", "F8", "A", "Space", "Page Up"):
    // GetKeyNameTextA of MapVirtualKeyA(code, 0) << 16. Empty for a key without a name.
    [[nodiscard]] virtual Text KeyName(int virtualKey) const = 0;
    // GetAsyncKeyState(code) != 0.
    [[nodiscard]] virtual bool IsKeyDown(int virtualKey) const = 0;
};

} // namespace tovrik::ui
