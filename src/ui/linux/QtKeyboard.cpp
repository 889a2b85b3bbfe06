#include "ui/linux/QtKeyboard.h"

#include "ui/KeyMessages.h"
#include "ui/linux/KeyCodes.h"
#include "ui/linux/X11Display.h"

#include <QKeyEvent>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace tovrik::ui {

namespace {

bool InRange(int virtualKey) {
    return virtualKey > 0 && virtualKey < 256;
}

// The symbol the key makes without modifiers, so that Shift+1 is the key "1" and not "!".
unsigned long BaseKeysym(unsigned keycode) {
    Display* display = X11Display();
    if (display == nullptr || keycode < 8 || keycode > 255) {
        return 0;
    }
    return XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0);
}

} // namespace

Text QtKeyboard::KeyName(int virtualKey) const {
    return StandardKeyName(virtualKey);
}

bool QtKeyboard::IsKeyDown(int virtualKey) const {
    switch (virtualKey) {
    case kVkShift:
        return m_down[kVkLeftShift] || m_down[kVkRightShift];
    case kVkControl:
        return m_down[kVkLeftControl] || m_down[kVkRightControl];
    case kVkAlt:
        return m_down[kVkLeftAlt] || m_down[kVkRightAlt];
    default:
        return InRange(virtualKey) && m_down[static_cast<std::size_t>(virtualKey)];
    }
}

void QtKeyboard::SetKeyDown(int virtualKey, bool down) {
    if (InRange(virtualKey)) {
        m_down[static_cast<std::size_t>(virtualKey)] = down;
    }
}

void QtKeyboard::SyncWithServer() {
    Display* display = X11Display();
    if (display == nullptr) {
        return;
    }
    char keys[32] = {};
    XQueryKeymap(display, keys);
    m_down.fill(false);
    for (unsigned keycode = 8; keycode < 256; ++keycode) {
        if ((keys[keycode / 8] & (1 << (keycode % 8))) != 0) {
            SetKeyDown(VirtualKeyFromKeysym(BaseKeysym(keycode)), true);
        }
    }
}

int QtKeyboard::VirtualKeyOf(const QKeyEvent& event) {
    if (const int code = VirtualKeyFromKeysym(BaseKeysym(event.nativeScanCode())); code != 0) {
        return code;
    }
    return VirtualKeyFromKeysym(event.nativeVirtualKey());
}

} // namespace tovrik::ui
