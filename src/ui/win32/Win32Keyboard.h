#pragma once

#include "ui/Keyboard.h"

namespace tovrik::ui::win32 {

// Key names from the keyboard layout (the scan code of the virtual key, named by the system)
// and the asynchronous key state.
class Win32Keyboard final : public Keyboard {
public:
    [[nodiscard]] Text KeyName(int virtualKey) const override;
    [[nodiscard]] bool IsKeyDown(int virtualKey) const override;
};

} // namespace tovrik::ui::win32
