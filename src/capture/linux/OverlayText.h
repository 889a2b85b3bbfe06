#pragma once

#include "capture/Geometry.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

namespace tovrik::capture {

// The overlay's text: white, in the application's font (which stands for the default GUI
// font), line by line at CR LF, clipped to the box. Shared by the overlays of both sessions.
void DrawOverlayText(ui::Bitmap& target, const Rect& box, TextView text);
// How far right of the box's left edge DrawOverlayText may change pixels for the text.
[[nodiscard]] int OverlayTextInkWidth(TextView text);

} // namespace tovrik::capture
