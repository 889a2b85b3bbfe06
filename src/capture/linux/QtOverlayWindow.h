#pragma once

#include "capture/OverlayWindow.h"
#include "capture/linux/OverlayLoop.h"

#include <QFont>

#include <memory>

namespace tovrik::capture {

class OverlayWidget;

// The overlay's window through Qt. The window is kept hidden between captures so that a capture
// does not wait for a new X window. When the frame was in our memory, Qt kept a back buffer for
// it, a screenful of memory: the window is then destroyed once the program has waited a while.
// A frame kept by the X server is painted by the server, and the window costs next to nothing.
class QtOverlayWindow final : public OverlayWindow {
public:
    static constexpr int kKeepWindowMs = OverlayLoop::kKeepWindowMs;

    QtOverlayWindow();
    ~QtOverlayWindow() override;
    QtOverlayWindow(const QtOverlayWindow&) = delete;
    QtOverlayWindow& operator=(const QtOverlayWindow&) = delete;

    [[nodiscard]] bool RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) override;
    void Close() override;
    void Present(const Rect& area) override;
    void SetCursor(Cursor cursor) override;
    void ReleaseMouseCapture() override;
    [[nodiscard]] int ShowMenu(const std::vector<MenuItem>& items) override;
    [[nodiscard]] std::uintptr_t NativeHandle() const override;
    // White text in the application's font (which stands for the default GUI font).
    void DrawText(ui::Bitmap& target, const Rect& box, TextView text) override;
    [[nodiscard]] int InkWidth(TextView text) override;

private:
    [[nodiscard]] OverlayWidget& Widget();

    std::unique_ptr<OverlayWidget> m_widget;
    OverlayLoop m_loop;
};

} // namespace tovrik::capture
