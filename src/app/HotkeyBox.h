#pragma once

#include "app/HotkeyTable.h"
#include "text/Types.h"
#include "ui/Form.h"
#include "ui/Keyboard.h"

#include <functional>

namespace tovrik::app {

// An edit box of the settings window that turns key presses into a hotkey text ("Ctrl+Alt+A")
// and registers that hotkey through the HotkeyTable. Its id (non-zero once bound) is the
// hotkey id.
class HotkeyBox {
public:
    HotkeyBox(HotkeyTable& table, const ui::Keyboard& keyboard);
    ~HotkeyBox();
    HotkeyBox(const HotkeyBox&) = delete;
    HotkeyBox& operator=(const HotkeyBox&) = delete;

    // Captures the keys of the edit box on the owner form, which also receives the hotkey.
    // True when the box was captured; the box then handles its key and focus events before the
    // form's own handlers see them.
    [[nodiscard]] bool Bind(ui::Form& owner, TextView editBox, int id, bool enabled, HotkeyTable::Handler handler);
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    [[nodiscard]] unsigned Modifiers() const;
    [[nodiscard]] int VirtualKey() const;
    [[nodiscard]] const Text& AppliedText() const { return m_appliedText; }
    [[nodiscard]] Text BoxText() const;
    [[nodiscard]] bool IsRegistered() const { return m_registered; }
    // Enables the box and applies its text.
    void Enable();
    // Unregisters the box's hotkey if it has one, then registers the text now in the box.
    void Apply();

private:
    [[nodiscard]] bool OnMessage(const ui::Event& event);
    void OnKeyDown(int virtualKey);
    void OnSysKeyDown(int virtualKey);
    void OnSysKeyUp(int virtualKey);
    void OnLostFocus();
    void Show(TextView text);
    [[nodiscard]] Text FallbackText() const;
    [[nodiscard]] bool IsDown(int leftKey, int rightKey) const;

    HotkeyTable& m_table;
    const ui::Keyboard& m_keyboard;
    ui::Form* m_owner = nullptr;
    Text m_edit;
    int m_id = 0;
    ui::Form::HookId m_hook = 0;
    bool m_enabled = false;
    bool m_registered = false;
    HotkeyTable::Handler m_handler;
    bool m_complete = false;
    Text m_appliedText;
    Text m_focusText;
};

} // namespace tovrik::app
