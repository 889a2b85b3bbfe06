#pragma once

#include "capture/OverlayLayout.h"

#include <Qt>

namespace tovrik::capture {

// The Qt pointer shape of an overlay cursor. Shared by the overlays of both sessions.
[[nodiscard]] Qt::CursorShape QtCursorShape(Cursor cursor);

} // namespace tovrik::capture
