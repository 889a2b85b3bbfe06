#pragma once

#include "app/HotkeyRegistrar.h"

namespace tovrik::ui::win32 {
class Win32WindowSystem;
}

namespace tovrik::app {

// RegisterHotKey / UnregisterHotKey on the native window of the owner form; WM_HOTKEY reaches
// the form as its Hotkey event.
class Win32HotkeyRegistrar final : public HotkeyRegistrar {
public:
    explicit Win32HotkeyRegistrar(const ui::win32::Win32WindowSystem& windows) : m_windows(windows) {}

    [[nodiscard]] bool Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) override;
    void Unregister(ui::FormId owner, int id) override;

private:
    const ui::win32::Win32WindowSystem& m_windows;
};

} // namespace tovrik::app
