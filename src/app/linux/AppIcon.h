#pragma once

#include <QIcon>
#include <QPixmap>

namespace tovrik::app {

// The program's icon (windows, tray): a blue tile with a white selection frame and a "T",
// drawn at the usual sizes. The installed icon (resources/tovrikocr.svg) shows the same.
[[nodiscard]] QIcon AppIcon();

// The same drawing at one size (the installed PNG icons are made from it). Needs a QGuiApplication.
[[nodiscard]] QPixmap AppIconPixmap(int size);

} // namespace tovrik::app
