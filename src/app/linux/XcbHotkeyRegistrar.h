#pragma once

#include "app/HotkeyRegistrar.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <vector>

namespace tovrik::ui {
class QtWindowSystem;
}

namespace tovrik::app {

// System-wide hotkeys as passive key grabs on the X root window, one per combination of the
// CapsLock and NumLock states, so that a hotkey works whatever the lock keys are. A grab that
// the server refuses (another client holds the combination: BadAccess) makes the registration
// fail, as RegisterHotKey does for a combination taken elsewhere; a combination this program
// holds already under another id fails too. Presses arrive through Qt's native event filter
// and reach the owner form as Hotkey events.
class XcbHotkeyRegistrar final : public HotkeyRegistrar, private QAbstractNativeEventFilter {
public:
    explicit XcbHotkeyRegistrar(ui::QtWindowSystem& windows);
    ~XcbHotkeyRegistrar() override;
    XcbHotkeyRegistrar(const XcbHotkeyRegistrar&) = delete;
    XcbHotkeyRegistrar& operator=(const XcbHotkeyRegistrar&) = delete;

    [[nodiscard]] bool Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) override;
    void Unregister(ui::FormId owner, int id) override;

private:
    struct Grab {
        ui::FormId owner;
        int id;
        std::uint8_t keycode;
        std::uint16_t mask;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void Ungrab(const Grab& grab);
    [[nodiscard]] std::vector<std::uint16_t> LockVariants() const;

    ui::QtWindowSystem& m_windows;
    std::vector<Grab> m_grabs;
    std::uint32_t m_root = 0;
    std::uint16_t m_altMask = 0;
    std::uint16_t m_numLockMask = 0;
};

} // namespace tovrik::app
