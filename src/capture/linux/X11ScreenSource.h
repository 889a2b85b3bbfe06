#pragma once

#include "capture/ScreenSource.h"
#include "capture/linux/RootImage.h"

namespace tovrik::capture {

// The X11 desktop: monitors and work area as Qt knows them (with high-DPI scaling off, in
// physical pixels), pictures read from the root window, through shared memory (MIT-SHM) when
// the server offers it and with a plain GetImage otherwise. The root window starts at (0, 0):
// parts of an area outside it come out black.
class X11ScreenSource final : public ScreenSource {
public:
    [[nodiscard]] Rect WorkArea() override;
    [[nodiscard]] std::vector<Rect> Monitors() override;
    [[nodiscard]] bool Grab(const Rect& area, ui::Bitmap& pictureOut) override;

private:
    RootImageReader m_reader;
};

} // namespace tovrik::capture
