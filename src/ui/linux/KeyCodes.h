#pragma once

// X11 key symbols and Windows virtual-key codes, both ways. The core works with virtual-key
// codes on every platform; X11 reports key symbols.
namespace tovrik::ui {

// The virtual-key code of the physical key that produces the symbol (shifted symbols such as
// "!" or "A" give the code of their key, as on a US layout); 0 for a symbol without one.
// Shift, Ctrl and Alt give their left or right codes (160-165).
[[nodiscard]] int VirtualKeyFromKeysym(unsigned long keysym);
// The key symbol to grab for a virtual-key code; 0 for a code without one.
[[nodiscard]] unsigned long KeysymFromVirtualKey(int virtualKey);
// 160/161 -> 16, 162/163 -> 17, 164/165 -> 18: the code Windows puts in key messages.
[[nodiscard]] int MessageVirtualKey(int virtualKey);

} // namespace tovrik::ui
