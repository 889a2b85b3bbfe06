#include "capture/ScreenSource.h"

#include "capture/MemoryOverlayCanvas.h"

#include <utility>

namespace tovrik::capture {

std::unique_ptr<OverlayCanvas> ScreenSource::Freeze(const Rect& area) {
    ui::Bitmap picture;
    if (!Grab(area, picture) || picture.width != area.Width() || picture.height != area.Height()) {
        return nullptr;
    }
    return std::make_unique<MemoryOverlayCanvas>(std::move(picture));
}

} // namespace tovrik::capture
