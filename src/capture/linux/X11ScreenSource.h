#pragma once

#include "capture/ScreenSource.h"
#include "capture/linux/RootImage.h"

#include <QTimer>

namespace tovrik::capture {

// The X11 desktop: monitors and work area as Qt knows them (with high-DPI scaling off, in
// physical pixels), pictures read from the root window, through shared memory (MIT-SHM) when
// the server offers it and with a plain GetImage otherwise. The root window starts at (0, 0):
// parts of an area outside it come out black. The overlay's frozen screen stays in the server
// when it can draw the overlay itself: then no screenful of pixels crosses into our memory.
//
// The shared memory of the last picture is kept while captures follow each other and given
// back once the program has waited a while, so that it does not sit in the tray with a
// screenful of memory.
class X11ScreenSource final : public ScreenSource {
public:
    static constexpr int kKeepMemoryMs = 30000;

    X11ScreenSource();

    [[nodiscard]] Rect WorkArea() override;
    [[nodiscard]] std::vector<Rect> Monitors() override;
    [[nodiscard]] bool Grab(const Rect& area, ui::Bitmap& pictureOut) override;
<<<<<<< HEAD
    // Kept by the X server where it can (X11OverlayCanvas), otherwise read into memory.
    [[nodiscard]] std::unique_ptr<OverlayCanvas> Freeze(const Rect& area) override;
=======
    [[nodiscard]] std::optional<Point> PointerPosition() override;
>>>>>>> h14-dpi

private:
    RootImageReader m_reader;
    QTimer m_release;
};

} // namespace tovrik::capture
