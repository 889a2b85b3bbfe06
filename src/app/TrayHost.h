#pragma once

#include "text/Types.h"
#include "ui/WindowSystem.h"

namespace tovrik::app {

// The notification-area icon. Its mouse events reach the owner form as TrayNotify events
// carrying the mouse message (512 move, 515 left double-click, 516 right button down, ...) or
// 1120 when the taskbar has been re-created.
// Windows: Shell_NotifyIconA with a 488-byte NOTIFYICONDATAA (uID 1, callback message 0x2DA5,
// flags NIF_MESSAGE|NIF_ICON|NIF_TIP|NIF_INFO, empty balloon, timeout 10000); Linux: a Qt
// system tray icon.
class TrayHost {
public:
    virtual ~TrayHost() = default;
    // NIM_ADD. Empty icon data means the owner's small icon (WM_GETICON, ICON_SMALL); otherwise
    // the data is an icon resource (CreateIconFromResource).
    [[nodiscard]] virtual bool AddIcon(ui::FormId owner, BytesView iconData) = 0;
    // NIM_MODIFY with the tip (at most 127 bytes, already cut by the caller).
    virtual void SetTip(TextView tip) = 0;
    // NIM_DELETE.
    virtual void RemoveIcon() = 0;
    // The owner's menu that the tray shows itself where the tray owns menus (StatusNotifier
    // hosts read it over D-Bus): its entries raise their Click events, and its opening raises
    // kTrayMenuOpening on the owner first. Windows: nothing; the program pops the menu on 516.
    virtual void SetMenu(ui::FormId owner, TextView menu) = 0;
    // Whether a tray shows the icon now. Where this can change, the owner gets kTrayHostGone
    // and kTrayHostAppeared, and the icon comes back by itself with a new tray. Windows: the
    // notification area is always there.
    [[nodiscard]] virtual bool HostPresent() const = 0;
    // Moves the mouse, by WM_MOUSEMOVE at a 2-pixel pitch, over every position of the shell's
    // notification toolbar ("Shell_TrayWnd" > "TrayNotifyWnd" > "SysPager" > "ToolbarWindow32")
    // or of its overflow window ("NotifyIconOverflowWindow" > "ToolbarWindow32"), so that the
    // shell drops icons whose process has ended. Does nothing where there is no such toolbar.
    virtual void SweepNotificationArea(bool overflow) = 0;
};

} // namespace tovrik::app
