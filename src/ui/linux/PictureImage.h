#pragma once

#include "text/Types.h"

#include <QImage>

namespace tovrik::ui {

// An encoded picture (PNG, JPEG, GIF, BMP, TIFF, ...) as an image; a null image when the
// bytes are none. Also reads the program's own capture BMPs, whose 44-byte info header (the
// 40-byte header and one colour entry) Qt's reader refuses.
[[nodiscard]] QImage DecodePicture(BytesView bytes);

} // namespace tovrik::ui
