#pragma once

#include "text/Types.h"
#include "ui/Bitmap.h"

namespace tovrik::ui {

// The system clipboard. Each call replaces the clipboard's whole content.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    [[nodiscard]] virtual bool SetText(TextView text) = 0;
    [[nodiscard]] virtual bool SetImage(const Bitmap& image) = 0;
};

} // namespace tovrik::ui
