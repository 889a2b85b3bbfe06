#pragma once

#include "ui/Keyboard.h"

#include <set>

namespace tovrik::fakes {

// Key names as Windows spells them; keys go down and up as the test presses them. Pressing
// Ctrl, Alt or Shift holds their left-hand key too, as the asynchronous state would show.
class FakeKeyboard final : public ui::Keyboard {
public:
    [[nodiscard]] Text KeyName(int virtualKey) const override;
    [[nodiscard]] bool IsKeyDown(int virtualKey) const override;

    void Press(int virtualKey);
    void Release(int virtualKey);
    [[nodiscard]] bool AltDown() const;
    [[nodiscard]] bool CtrlDown() const;

private:
    std::set<int> m_down;
};

} // namespace tovrik::fakes
