#pragma once

#include "text/Types.h"

// Hotkey texts: parts joined by "+", modifiers first ("Ctrl+F8", "Ctrl+Alt+A", "Alt+Q"), or
// "无" for no hotkey. Parts are key names as Windows spells them; the key-name table below
// turns them back into virtual-key codes.
namespace tovrik::app {

inline constexpr TextView kNoHotkey = "无";

// The virtual-key code of one part: the part with "键" appended, compared with the rows of the
// key-name table (some exactly, some with ASCII letters folded); 0 when no row matches.
[[nodiscard]] int KeyCodeOfPart(TextView part);
// MOD_CONTROL for a "Ctrl" part, MOD_ALT for "Alt", MOD_SHIFT for "Shift"; never MOD_WIN.
[[nodiscard]] unsigned HotkeyModifiers(TextView hotkeyText);
// The code of the first part that is not a modifier; a part missing from the table ends the
// search with 0, and so does a text of modifiers only.
[[nodiscard]] int HotkeyVirtualKey(TextView hotkeyText);

} // namespace tovrik::app
