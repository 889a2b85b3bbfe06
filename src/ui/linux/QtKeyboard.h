#pragma once

#include "ui/Keyboard.h"

#include <array>

class QKeyEvent;

namespace tovrik::ui {

// The keyboard as the program's windows have seen it: key messages update the state before
// they are raised, the way GetAsyncKeyState already shows a key down when WM_KEYDOWN arrives.
// Key names are those of a US layout, spelled as Windows spells them.
class QtKeyboard final : public Keyboard {
public:
    [[nodiscard]] Text KeyName(int virtualKey) const override;
    [[nodiscard]] bool IsKeyDown(int virtualKey) const override;

    // Sided codes (160-165) for Shift, Ctrl and Alt; the generic ones follow from them.
    void SetKeyDown(int virtualKey, bool down);
    // Takes over the keys the X server holds down now (keys pressed while another window had
    // the focus never reached us).
    void SyncWithServer();

    // The virtual-key code of the key of a Qt key event, Shift, Ctrl and Alt with their sides;
    // 0 when the key has none.
    [[nodiscard]] static int VirtualKeyOf(const QKeyEvent& event);

private:
    std::array<bool, 256> m_down{};
};

} // namespace tovrik::ui
