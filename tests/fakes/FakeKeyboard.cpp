#include "fakes/FakeKeyboard.h"

#include "ui/KeyMessages.h"

namespace tovrik::fakes {

namespace {

int LeftHandKey(int virtualKey) {
    switch (virtualKey) {
    case ui::kVkShift:
        return ui::kVkLeftShift;
    case ui::kVkControl:
        return ui::kVkLeftControl;
    case ui::kVkAlt:
        return ui::kVkLeftAlt;
    default:
        return 0;
    }
}

} // namespace

Text FakeKeyboard::KeyName(int virtualKey) const {
    return ui::StandardKeyName(virtualKey);
}

bool FakeKeyboard::IsKeyDown(int virtualKey) const {
    return m_down.contains(virtualKey);
}

void FakeKeyboard::Press(int virtualKey) {
    m_down.insert(virtualKey);
    if (const int left = LeftHandKey(virtualKey); left != 0) {
        m_down.insert(left);
    }
}

void FakeKeyboard::Release(int virtualKey) {
    m_down.erase(virtualKey);
    if (const int left = LeftHandKey(virtualKey); left != 0) {
        m_down.erase(left);
    }
}

bool FakeKeyboard::AltDown() const {
    return IsKeyDown(ui::kVkAlt) || IsKeyDown(ui::kVkLeftAlt) || IsKeyDown(ui::kVkRightAlt);
}

bool FakeKeyboard::CtrlDown() const {
    return IsKeyDown(ui::kVkControl) || IsKeyDown(ui::kVkLeftControl) || IsKeyDown(ui::kVkRightControl);
}

} // namespace tovrik::fakes
