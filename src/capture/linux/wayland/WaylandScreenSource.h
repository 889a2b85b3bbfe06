#pragma once

#include "capture/ScreenSource.h"
#include "capture/linux/wayland/OutputLayout.h"
#include "capture/linux/wayland/ScreencopyClient.h"

#include <memory>
#include <string>

namespace tovrik::capture {

class ScreenshotPortal;

// The desktop of a Wayland session, in physical pixels of every output. The picture comes from
// the compositor's screencopy protocol where it offers one (wlroots compositors: fast, no
// dialog), else from the desktop portal's Screenshot interface (GNOME, KDE). The outputs are
// laid out as OutputLayout describes; the overlay shows each on its own window.
class WaylandScreenSource final : public ScreenSource {
public:
    WaylandScreenSource();
    ~WaylandScreenSource() override;
    WaylandScreenSource(const WaylandScreenSource&) = delete;
    WaylandScreenSource& operator=(const WaylandScreenSource&) = delete;

    [[nodiscard]] Rect WorkArea() override;
    [[nodiscard]] std::vector<Rect> Monitors() override;
    [[nodiscard]] bool Grab(const Rect& area, ui::Bitmap& pictureOut) override;
    [[nodiscard]] ScreenOrigin Origin() const override;

    // The outputs as the last call of Monitors saw them.
    [[nodiscard]] const OutputLayout& Layout() const { return m_layout; }
    // Which source the pictures come from, for the user: "wlr-screencopy" or
    // "xdg-desktop-portal Screenshot".
    [[nodiscard]] std::string SourceName() const;

private:
    void Refresh();

    ScreencopyClient m_screencopy;
    std::unique_ptr<ScreenshotPortal> m_portal;
    OutputLayout m_layout;
};

} // namespace tovrik::capture
