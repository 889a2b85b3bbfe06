#pragma once

// Tests of the Win32 backend need a desktop to make windows on. Under Wine without an X
// display there is none: such tests skip (the desktop test run gives them Xvfb).

#include <windows.h>

#include <gtest/gtest.h>

namespace tovrik::testutil {

[[nodiscard]] inline bool HasDesktop() {
    static const bool available = [] {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe == nullptr) {
            return false;
        }
        DestroyWindow(probe);
        return true;
    }();
    return available;
}

// Handles the window messages that are waiting, without blocking.
inline void PumpMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace tovrik::testutil

#define TOVRIK_REQUIRE_DESKTOP()                                                                                       \
    do {                                                                                                               \
        if (!::tovrik::testutil::HasDesktop()) {                                                                       \
            GTEST_SKIP() << "no desktop to make windows on (Wine without a display)";                                  \
        }                                                                                                              \
    } while (false)
