#pragma once

#include "capture/linux/wayland/OutputLayout.h"
#include "ui/Bitmap.h"

#include <memory>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_shm;
struct wl_output;
struct zwlr_screencopy_manager_v1;

namespace tovrik::capture {

// The screen of a wlroots compositor (sway and its kin) through its screencopy protocol: a
// connection of its own to the compositor, the outputs with their logical places, scales and
// physical sizes, and one picture of every output at its physical pixels, without a dialog.
class ScreencopyClient {
public:
    // How long a picture of all outputs may take before the grab gives up.
    static constexpr int kGrabTimeoutMs = 3000;

    ScreencopyClient();
    ~ScreencopyClient();
    ScreencopyClient(const ScreencopyClient&) = delete;
    ScreencopyClient& operator=(const ScreencopyClient&) = delete;

    // Connected, and the compositor offers screencopy and shared memory.
    [[nodiscard]] bool Available() const;
    // The outputs as they are now (hot-plugged ones included).
    [[nodiscard]] OutputLayout Layout();
    // Every output of the layout, each at its physical rectangle; pixel (0, 0) of the picture
    // is (area.left, area.top); what no output covers is black. False when a copy failed or
    // did not finish in time.
    [[nodiscard]] bool Grab(const OutputLayout& layout, const Rect& area, ui::Bitmap& pictureOut);

    struct Output;

private:
    static void OnGlobal(void* data, wl_registry* registry, unsigned name, const char* interface, unsigned version);
    static void OnGlobalRemove(void* data, wl_registry* registry, unsigned name);
    [[nodiscard]] bool Roundtrip();

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_shm* m_shm = nullptr;
    zwlr_screencopy_manager_v1* m_manager = nullptr;
    std::vector<std::unique_ptr<Output>> m_outputs;
};

} // namespace tovrik::capture
