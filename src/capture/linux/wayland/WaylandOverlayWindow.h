#pragma once

#include "capture/OverlayWindow.h"
#include "capture/linux/OverlayLoop.h"
#include "capture/linux/wayland/OutputLayout.h"

#include <functional>
#include <memory>
#include <vector>

namespace tovrik::capture {

class OutputSurface;

// The overlay in a Wayland session: one full-screen window per output (a Wayland client can
// neither place a window nor span outputs with one), each showing its output's part of the
// frozen picture. The windows are kept hidden while captures follow each other and destroyed
// once the program has waited a while, as on X11.
class WaylandOverlayWindow final : public OverlayWindow {
public:
    static constexpr int kKeepWindowMs = OverlayLoop::kKeepWindowMs;

    // `layout` gives the outputs of the frozen picture, in its physical pixels.
    explicit WaylandOverlayWindow(std::function<OutputLayout()> layout);
    ~WaylandOverlayWindow() override;
    WaylandOverlayWindow(const WaylandOverlayWindow&) = delete;
    WaylandOverlayWindow& operator=(const WaylandOverlayWindow&) = delete;

    [[nodiscard]] bool RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) override;
    void Close() override;
    void Present(const Rect& area) override;
    void SetCursor(Cursor cursor) override;
    void ReleaseMouseCapture() override;
    [[nodiscard]] int ShowMenu(const std::vector<MenuItem>& items) override;
    [[nodiscard]] std::uintptr_t NativeHandle() const override;
    void DrawText(ui::Bitmap& target, const Rect& box, TextView text) override;

private:
    // The surfaces of the screens there are now, one per output of the layout.
    void PrepareSurfaces();
    [[nodiscard]] OutputSurface* PointerSurface() const;

    std::function<OutputLayout()> m_layoutSource;
    OutputLayout m_layout;
    std::vector<std::unique_ptr<OutputSurface>> m_surfaces;
    OverlayLoop m_loop;
};

} // namespace tovrik::capture
