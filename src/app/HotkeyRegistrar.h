#pragma once

#include "text/Types.h"
#include "ui/WindowSystem.h"

namespace tovrik::app {

// MOD_ flags of RegisterHotKey.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;

// System-wide hotkeys. A pressed hotkey reaches its owner form as a Hotkey event.
// Windows: RegisterHotKey / UnregisterHotKey; Linux: key grabs on the root window.
class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;
    // RegisterHotKey(owner, id, modifiers, virtualKey): false when the combination is taken
    // (by this or another program) or invalid.
    [[nodiscard]] virtual bool Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) = 0;
    // UnregisterHotKey(owner, id).
    virtual void Unregister(ui::FormId owner, int id) = 0;
    // Non-empty when the desktop offers no system-wide hotkeys at all (a Wayland desktop
    // without the global-shortcuts portal): what the user can do instead, for the hint line.
    // Then a refused hotkey is no conflict, and start-up warns about none.
    [[nodiscard]] virtual Text UnavailableHint() const { return {}; }
};

} // namespace tovrik::app
