#pragma once

#include "capture/OverlayWindow.h"

#include <vector>

class QPoint;
class QWidget;

namespace tovrik::capture {

// The overlay's context menu over `parent` at `at` (desktop coordinates), shared by the X11 and
// Wayland overlays; the id of the chosen entry, 0 when the menu was dismissed.
[[nodiscard]] int RunOverlayMenu(QWidget& parent, const std::vector<MenuItem>& items, const QPoint& at);

} // namespace tovrik::capture
