#include "app/linux/XcbHotkeyRegistrar.h"

#include "ui/linux/KeyCodes.h"
#include "ui/linux/QtWindowSystem.h"
#include "ui/linux/X11Display.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace tovrik::app {

namespace {

struct ModifierMapDeleter {
    void operator()(XModifierKeymap* map) const { XFreeModifiermap(map); }
};

// The modifier bit whose keys include the key of this symbol; 0 when none does.
std::uint16_t ModifierMaskOf(Display* display, const XModifierKeymap& map, KeySym symbol) {
    const KeyCode keycode = XKeysymToKeycode(display, symbol);
    if (keycode == 0) {
        return 0;
    }
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < map.max_keypermod; ++i) {
            if (map.modifiermap[modifier * map.max_keypermod + i] == keycode) {
                return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return 0;
}

} // namespace

XcbHotkeyRegistrar::XcbHotkeyRegistrar(ui::QtWindowSystem& windows) : m_windows(windows) {
    Display* display = ui::X11Display();
    if (display == nullptr) {
        return;
    }
    m_root = static_cast<std::uint32_t>(DefaultRootWindow(display));
    m_altMask = XCB_MOD_MASK_1;
    if (const std::unique_ptr<XModifierKeymap, ModifierMapDeleter> map(XGetModifierMapping(display)); map) {
        if (const std::uint16_t alt = ModifierMaskOf(display, *map, XK_Alt_L); alt != 0) {
            m_altMask = alt;
        }
        m_numLockMask = ModifierMaskOf(display, *map, XK_Num_Lock);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XcbHotkeyRegistrar::~XcbHotkeyRegistrar() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
    }
    for (const Grab& grab : m_grabs) {
        Ungrab(grab);
    }
}

std::vector<std::uint16_t> XcbHotkeyRegistrar::LockVariants() const {
    std::vector<std::uint16_t> variants{0, XCB_MOD_MASK_LOCK};
    if (m_numLockMask != 0) {
        variants.push_back(m_numLockMask);
        variants.push_back(static_cast<std::uint16_t>(m_numLockMask | XCB_MOD_MASK_LOCK));
    }
    return variants;
}

bool XcbHotkeyRegistrar::Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) {
    Unregister(owner, id);
    Display* display = ui::X11Display();
    xcb_connection_t* connection = ui::X11Connection();
    const unsigned long symbol = ui::KeysymFromVirtualKey(virtualKey);
    if (display == nullptr || connection == nullptr || id == 0 || symbol == 0) {
        return false;
    }
    const KeyCode keycode = XKeysymToKeycode(display, symbol);
    if (keycode == 0) {
        return false;
    }
    std::uint16_t mask = 0;
    mask |= (modifiers & kModControl) != 0 ? XCB_MOD_MASK_CONTROL : 0;
    mask |= (modifiers & kModShift) != 0 ? XCB_MOD_MASK_SHIFT : 0;
    mask |= (modifiers & kModAlt) != 0 ? m_altMask : 0;
    const Grab grab{owner, id, static_cast<std::uint8_t>(keycode), mask};
    if (std::any_of(m_grabs.begin(), m_grabs.end(),
                    [&](const Grab& held) { return held.keycode == grab.keycode && held.mask == grab.mask; })) {
        return false;
    }

    std::vector<xcb_void_cookie_t> cookies;
    for (const std::uint16_t lock : LockVariants()) {
        cookies.push_back(xcb_grab_key_checked(connection, 1, m_root, static_cast<std::uint16_t>(mask | lock),
                                               grab.keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    // Every cookie is checked, so that no error is left to reach Qt's event queue; the usual
    // one is BadAccess, another client holding the combination.
    bool refused = false;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    if (refused) {
        // Some variants may have been granted: give them back, the hotkey is not ours.
        Ungrab(grab);
        xcb_flush(connection);
        return false;
    }
    m_grabs.push_back(grab);
    return true;
}

void XcbHotkeyRegistrar::Unregister(ui::FormId owner, int id) {
    const auto found =
        std::find_if(m_grabs.begin(), m_grabs.end(), [&](const Grab& g) { return g.owner == owner && g.id == id; });
    if (found == m_grabs.end()) {
        return;
    }
    Ungrab(*found);
    m_grabs.erase(found);
    if (xcb_connection_t* connection = ui::X11Connection()) {
        xcb_flush(connection);
    }
}

void XcbHotkeyRegistrar::Ungrab(const Grab& grab) {
    xcb_connection_t* connection = ui::X11Connection();
    if (connection == nullptr) {
        return;
    }
    for (const std::uint16_t lock : LockVariants()) {
        xcb_ungrab_key(connection, grab.keycode, m_root, static_cast<std::uint16_t>(grab.mask | lock));
    }
}

bool XcbHotkeyRegistrar::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || m_grabs.empty()) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->event != m_root) {
        return false;
    }
    // The lock keys and the mouse buttons held do not change which hotkey was pressed.
    const auto state = static_cast<std::uint16_t>(key->state & 0xFF & ~(XCB_MOD_MASK_LOCK | m_numLockMask));
    const auto found = std::find_if(m_grabs.begin(), m_grabs.end(), [&](const Grab& grab) {
        return grab.keycode == key->detail && grab.mask == state;
    });
    if (found == m_grabs.end()) {
        return false;
    }
    if (type == XCB_KEY_PRESS) {
        m_windows.Post(found->owner, {.kind = ui::EventKind::Hotkey, .code = found->id});
    }
    return true;
}

} // namespace tovrik::app
