#pragma once

#include "text/Types.h"
#include "ui/Event.h"

#include <windows.h>

#include <functional>

namespace tovrik::ui::win32 {

// What the form learns from one of its native controls. The control's window procedure is
// replaced by one that finds this record through a window property (no generated code): focus
// changes raise GotFocus and LostFocus; once keys are captured, key messages raise the key
// events and never reach the control, and typed characters are dropped.
struct ControlHook {
    std::function<void(const Event&)> raise;
    Text name;
    WNDPROC previous = nullptr;
    bool captureKeys = false;
};

// Subclasses the control; the record must outlive the control's window.
[[nodiscard]] bool InstallHook(HWND control, ControlHook& hook);

} // namespace tovrik::ui::win32
