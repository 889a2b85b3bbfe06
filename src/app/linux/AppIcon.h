#pragma once

#include <QIcon>

namespace tovrik::app {

// The program's icon (windows, tray): a blue tile with a white selection frame and a "T",
// drawn at the usual sizes. The installed icon (resources/tovrikocr.svg) shows the same.
[[nodiscard]] QIcon AppIcon();

} // namespace tovrik::app
