#pragma once

#include "capture/ScreenSource.h"
#include "capture/linux/RootImage.h"
#include "capture/linux/X11OverlayPixmaps.h"

#include <QTimer>

#include <memory>

namespace tovrik::capture {

// The X11 desktop: monitors and work area as Qt knows them (with high-DPI scaling off, in
// physical pixels), pictures read from the root window, through shared memory (MIT-SHM) when
// the server offers it and with a plain GetImage otherwise. The root window starts at (0, 0):
// parts of an area outside it come out black. The overlay's frozen screen stays in the server
// when it can draw the overlay itself: then no screenful of pixels crosses into our memory.
//
// The server's pixmaps for the overlay are made and written once soon after start, and again
// when the screen changes size, and kept: the first capture then finds the server's memory in
// place instead of waiting for it to be faulted in.
//
// The shared memory of the last picture is kept while captures follow each other and given
// back once the program has waited a while, so that it does not sit in the tray with a
// screenful of memory.
class X11ScreenSource final : public ScreenSource {
public:
    static constexpr int kKeepMemoryMs = 30000;
    // How long the screen's size is to stay put before new pixmaps are made for it.
    static constexpr int kScreenChangeSettleMs = 1000;

    X11ScreenSource();

    [[nodiscard]] Rect WorkArea() override;
    [[nodiscard]] std::vector<Rect> Monitors() override;
    [[nodiscard]] bool Grab(const Rect& area, ui::Bitmap& pictureOut) override;
    // Kept by the X server where it can (X11OverlayCanvas), otherwise read into memory.
    [[nodiscard]] std::unique_ptr<OverlayCanvas> Freeze(const Rect& area) override;
    [[nodiscard]] std::optional<Point> PointerPosition() override;

private:
    // Pixmaps of the root window's size, made and touched if there are none of that size yet.
    void PreparePixmaps();
    // The kept pixmaps when they fit the area and no overlay uses them, else new ones.
    [[nodiscard]] std::shared_ptr<X11OverlayPixmaps> PixmapsFor(const Rect& area);

    RootImageReader m_reader;
    QTimer m_release;
    QTimer m_prepare;
    std::shared_ptr<X11OverlayPixmaps> m_pixmaps;
};

} // namespace tovrik::capture
