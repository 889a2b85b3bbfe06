#pragma once

#include "capture/Geometry.h"
#include "text/Types.h"
#include "ui/Bitmap.h"

namespace tovrik::capture {

// Draws program text (code page 936) into a picture in white with the default GUI font, on a
// transparent background: the first line starts at the box's top-left corner, each CR LF starts
// a new line, and nothing is drawn outside the box or outside the picture.
class TextPainter {
public:
    virtual ~TextPainter() = default;
    virtual void DrawText(ui::Bitmap& target, const Rect& box, TextView text) = 0;
    // How far right of the box's left edge DrawText may change pixels for the text, at most:
    // a canvas whose pixels are costly to fetch reads no more of the box than that. By default
    // the whole box.
    [[nodiscard]] virtual int InkWidth(TextView) { return kWholeBox; }

    static constexpr int kWholeBox = 1 << 30;
};

} // namespace tovrik::capture
