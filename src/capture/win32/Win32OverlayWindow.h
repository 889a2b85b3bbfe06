#pragma once

#include "capture/OverlayWindow.h"
#include "capture/win32/GdiTextPainter.h"

#include <windows.h>
// The text painter's DrawText is ours, not the ANSI/wide macro of the system headers.
#undef DrawText

namespace tovrik::capture {

// The overlay as a modal dialog box without owner, built from a template in memory: a
// borderless topmost tool window over the virtual screen that shows the core's frame with
// one StretchDIBits per change and never erases its background.
class Win32OverlayWindow final : public OverlayWindow {
public:
    Win32OverlayWindow() = default;
    Win32OverlayWindow(const Win32OverlayWindow&) = delete;
    Win32OverlayWindow& operator=(const Win32OverlayWindow&) = delete;

    [[nodiscard]] bool RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) override;
    void Close() override;
    void Present(const Rect& area) override;
    void SetCursor(Cursor cursor) override;
    void ReleaseMouseCapture() override;
    [[nodiscard]] int ShowMenu(const std::vector<MenuItem>& items) override;
    [[nodiscard]] std::uintptr_t NativeHandle() const override;
    void DrawText(ui::Bitmap& target, const Rect& box, TextView text) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& resultOut);
    void Initialise(HWND window);
    void Blit(HDC dc, const Rect& area) const;

    GdiTextPainter m_text;
    HWND m_window = nullptr;
    Rect m_area;
    const ui::Bitmap* m_frame = nullptr;
    OverlayInput* m_input = nullptr;
    HCURSOR m_cursor = nullptr;
    bool m_closing = false;
};

} // namespace tovrik::capture
