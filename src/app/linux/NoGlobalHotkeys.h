#pragma once

#include "app/HotkeyRegistrar.h"

namespace tovrik::app {

// A Wayland desktop without the global-shortcuts portal: a client cannot take keys that go to
// other programs' windows, so every hotkey is refused, and the settings window says how to bind
// the program's command-line triggers in the desktop's own keyboard settings instead.
class NoGlobalHotkeys final : public HotkeyRegistrar {
public:
    [[nodiscard]] bool Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) override;
    void Unregister(ui::FormId owner, int id) override;
    [[nodiscard]] Text UnavailableHint() const override;
};

} // namespace tovrik::app
