#pragma once

#include "ui/Clipboard.h"

namespace tovrik::ui {

// The X11 clipboard through Qt. The program owns what it puts there and serves it to other
// programs for as long as it runs.
class QtClipboard final : public Clipboard {
public:
    [[nodiscard]] bool SetText(TextView text) override;
    [[nodiscard]] bool SetImage(const Bitmap& image) override;
};

} // namespace tovrik::ui
