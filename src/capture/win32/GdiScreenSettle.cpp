#include "capture/win32/GdiScreenSettle.h"

#include <windows.h>

#include <algorithm>

namespace tovrik::capture {

namespace {

BOOL CALLBACK PaintNow(HWND window, LPARAM) {
    if (IsWindowVisible(window) && !IsIconic(window)) {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return TRUE;
}

// Set when a frame of the compositor was waited for; false without composition (or dwmapi).
bool AwaitComposedFrame() {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (dwm == nullptr) {
        return false;
    }
    using IsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
    using Flush = HRESULT(WINAPI*)();
    const auto enabled =
        reinterpret_cast<IsCompositionEnabled>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
    const auto flush = reinterpret_cast<Flush>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush")));
    BOOL composed = FALSE;
    bool waited = false;
    if (enabled != nullptr && flush != nullptr && SUCCEEDED(enabled(&composed)) && composed) {
        waited = SUCCEEDED(flush());
    }
    FreeLibrary(dwm);
    return waited;
}

} // namespace

void GdiScreenSettle::AwaitOwnWindows(int limitMs) {
    const ULONGLONG start = GetTickCount64();
    EnumThreadWindows(GetCurrentThreadId(), PaintNow, 0);
    GdiFlush();
    if (!AwaitComposedFrame()) {
        const auto spent = static_cast<int>(GetTickCount64() - start);
        Sleep(static_cast<DWORD>(std::clamp(limitMs - spent, 0, kUncoverMs)));
    }
}

} // namespace tovrik::capture
