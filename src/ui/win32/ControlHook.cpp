#include "ui/win32/ControlHook.h"

#include <optional>

namespace tovrik::ui::win32 {

namespace {

constexpr const wchar_t* kHookProperty = L"TovrikControlHook";

std::optional<EventKind> KeyEventOf(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
        return EventKind::KeyDown;
    case WM_KEYUP:
        return EventKind::KeyUp;
    case WM_SYSKEYDOWN:
        return EventKind::SysKeyDown;
    case WM_SYSKEYUP:
        return EventKind::SysKeyUp;
    default:
        return std::nullopt;
    }
}

bool IsCharacter(UINT message) {
    return message == WM_CHAR || message == WM_SYSCHAR || message == WM_DEADCHAR || message == WM_SYSDEADCHAR ||
           message == WM_PASTE || message == WM_CUT || message == WM_CLEAR || message == WM_UNDO;
}

LRESULT CALLBACK HookProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* hook = static_cast<ControlHook*>(GetPropW(control, kHookProperty));
    if (hook == nullptr) {
        return DefWindowProcW(control, message, wParam, lParam);
    }
    const WNDPROC previous = hook->previous;
    // Copied: a handler may destroy the form, and with it the hook record.
    const auto raise = hook->raise;
    const Text name = hook->name;
    if (hook->captureKeys) {
        if (const std::optional<EventKind> kind = KeyEventOf(message)) {
            raise(Event{.kind = *kind, .control = name, .virtualKey = static_cast<int>(wParam)});
            return 0;
        }
        if (IsCharacter(message)) {
            return 0;
        }
        if (message == WM_GETDLGCODE) {
            // Tab, Enter and ESC are hotkey material too, not dialog navigation.
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        }
    }
    switch (message) {
    case WM_SETFOCUS: {
        const LRESULT result = CallWindowProcW(previous, control, message, wParam, lParam);
        raise(Event{.kind = EventKind::GotFocus, .control = name});
        return result;
    }
    case WM_KILLFOCUS:
        raise(Event{.kind = EventKind::LostFocus, .control = name});
        return CallWindowProcW(previous, control, message, wParam, lParam);
    case WM_NCDESTROY:
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(control, kHookProperty);
        return CallWindowProcW(previous, control, message, wParam, lParam);
    default:
        return CallWindowProcW(previous, control, message, wParam, lParam);
    }
}

} // namespace

bool InstallHook(HWND control, ControlHook& hook) {
    if (control == nullptr || !SetPropW(control, kHookProperty, &hook)) {
        return false;
    }
    hook.previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc)));
    if (hook.previous == nullptr) {
        RemovePropW(control, kHookProperty);
        return false;
    }
    return true;
}

} // namespace tovrik::ui::win32
