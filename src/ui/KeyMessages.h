#pragma once

#include "text/Types.h"
#include "ui/Event.h"

// Helpers for backends that are not Windows (and for the fake one), so that every backend
// raises the same key messages and spells key names the same way as Windows does.
namespace tovrik::ui {

// The key message Windows sends for a key going down or up: WM_SYSKEYDOWN / WM_SYSKEYUP while
// Alt is held without Ctrl (the Alt key itself included) and for F10 without Ctrl; otherwise
// WM_KEYDOWN / WM_KEYUP. altDown and ctrlDown describe the other keys held at that moment.
[[nodiscard]] EventKind KeyMessageKind(bool down, int virtualKey, bool altDown, bool ctrlDown);

// The name GetKeyNameTextA gives for the key on a US layout; empty when it has none.
[[nodiscard]] Text StandardKeyName(int virtualKey);

} // namespace tovrik::ui
