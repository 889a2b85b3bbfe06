#include "app/win32/Win32HotkeyRegistrar.h"

#include "ui/win32/Win32WindowSystem.h"

namespace tovrik::app {

bool Win32HotkeyRegistrar::Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) {
    const HWND window = m_windows.WindowOf(owner);
    return window != nullptr && RegisterHotKey(window, id, modifiers, static_cast<UINT>(virtualKey)) != 0;
}

void Win32HotkeyRegistrar::Unregister(ui::FormId owner, int id) {
    if (const HWND window = m_windows.WindowOf(owner)) {
        UnregisterHotKey(window, id);
    }
}

} // namespace tovrik::app
