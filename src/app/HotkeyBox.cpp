#include "app/HotkeyBox.h"

#include "app/HotkeyText.h"

#include <utility>

namespace tovrik::app {

namespace {

constexpr TextView kAltName = "Alt";
constexpr TextView kCtrlName = "Ctrl";

bool IsModifierKey(int virtualKey) {
    return virtualKey == ui::kVkShift || virtualKey == ui::kVkControl || virtualKey == ui::kVkAlt;
}

} // namespace

HotkeyBox::HotkeyBox(HotkeyTable& table, const ui::Keyboard& keyboard) : m_table(table), m_keyboard(keyboard) {}

HotkeyBox::~HotkeyBox() {
    if (m_owner != nullptr) {
        m_owner->RemoveHook(m_hook);
    }
}

bool HotkeyBox::Bind(ui::Form& owner, TextView editBox, int id, bool enabled, HotkeyTable::Handler handler) {
    if (!owner.CaptureKeys(editBox)) {
        return false;
    }
    if (m_owner != nullptr) {
        m_owner->RemoveHook(m_hook);
    }
    m_owner = &owner;
    m_edit = Text(editBox);
    m_id = id;
    m_enabled = enabled;
    m_handler = std::move(handler);
    m_hook = owner.AddHook([this](const ui::Event& event) { return OnMessage(event); });
    return true;
}

unsigned HotkeyBox::Modifiers() const {
    return HotkeyModifiers(BoxText());
}

int HotkeyBox::VirtualKey() const {
    return HotkeyVirtualKey(BoxText());
}

Text HotkeyBox::BoxText() const {
    return m_owner != nullptr ? m_owner->GetText(m_edit) : Text();
}

void HotkeyBox::Enable() {
    m_enabled = true;
    Apply();
}

void HotkeyBox::Apply() {
    if (!m_enabled || m_owner == nullptr) {
        return;
    }
    if (m_registered) {
        m_table.UnregisterOne(*m_owner, m_id);
        m_registered = false;
    }
    m_appliedText = BoxText();
    if (!m_appliedText.empty()) {
        m_registered = m_table.Register(*m_owner, Modifiers(), VirtualKey(), m_handler, m_id);
    }
}

bool HotkeyBox::OnMessage(const ui::Event& event) {
    if (event.control != m_edit) {
        return false;
    }
    switch (event.kind) {
    case ui::EventKind::SysKeyDown:
        OnSysKeyDown(event.virtualKey);
        break;
    case ui::EventKind::SysKeyUp:
        OnSysKeyUp(event.virtualKey);
        break;
    case ui::EventKind::KeyDown:
        OnKeyDown(event.virtualKey);
        break;
    case ui::EventKind::KeyUp:
        if (m_complete) {
            Apply();
        } else {
            Show(FallbackText());
        }
        break;
    case ui::EventKind::LostFocus:
        OnLostFocus();
        break;
    case ui::EventKind::GotFocus:
        m_focusText = BoxText();
        break;
    default:
        break;
    }
    // Like a subclassed window procedure, the box passes every message on.
    return false;
}

void HotkeyBox::OnSysKeyDown(int virtualKey) {
    const Text name = m_keyboard.KeyName(virtualKey);
    if (name == kAltName) {
        m_complete = false;
        Show("Alt+");
    } else if (IsDown(ui::kVkLeftAlt, ui::kVkRightAlt)) {
        m_complete = true;
        Show("Alt+" + name);
    } else {
        m_complete = false;
    }
}

void HotkeyBox::OnSysKeyUp(int virtualKey) {
    const Text name = m_keyboard.KeyName(virtualKey);
    if (name == kAltName || name == kCtrlName) {
        m_complete = false;
        Show(FallbackText());
    } else {
        Apply();
    }
}

void HotkeyBox::OnKeyDown(int virtualKey) {
    Text text;
    if (IsDown(ui::kVkLeftControl, ui::kVkRightControl)) {
        text += "Ctrl+";
    }
    if (IsDown(ui::kVkLeftAlt, ui::kVkRightAlt)) {
        text += "Alt+";
    }
    if (IsDown(ui::kVkLeftShift, ui::kVkRightShift)) {
        text += "Shift+";
    }
    m_complete = !IsModifierKey(virtualKey);
    if (m_complete) {
        text += m_keyboard.KeyName(virtualKey);
    }
    Show(text);
}

void HotkeyBox::OnLostFocus() {
    if (m_complete) {
        Apply();
    } else if (m_registered) {
        Show(m_appliedText);
    } else if (BoxText() == kNoHotkey) {
        Show(kNoHotkey);
    } else {
        Show(m_focusText);
    }
}

void HotkeyBox::Show(TextView text) {
    m_owner->SetText(m_edit, text);
}

Text HotkeyBox::FallbackText() const {
    return m_registered ? m_appliedText : Text(kNoHotkey);
}

bool HotkeyBox::IsDown(int leftKey, int rightKey) const {
    return m_keyboard.IsKeyDown(leftKey) || m_keyboard.IsKeyDown(rightKey);
}

} // namespace tovrik::app
