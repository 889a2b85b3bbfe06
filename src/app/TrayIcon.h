#pragma once

#include "app/TrayHost.h"
#include "text/Types.h"
#include "ui/Form.h"

#include <cstddef>
#include <functional>

namespace tovrik::app {

// Tray event codes given to the handler: the mouse messages of the icon, and two of our own.
inline constexpr int kTrayMouseMove = 512;
inline constexpr int kTrayLeftDoubleClick = 515;
inline constexpr int kTrayRightButtonDown = 516;
inline constexpr int kTrayTaskbarCreated = 1120;
inline constexpr int kTrayOwnerDestroyed = 1130;
// Trays that come and go (Linux): the last one went away, or one came and shows the icon.
inline constexpr int kTrayHostGone = 1140;
inline constexpr int kTrayHostAppeared = 1141;
// A menu handed to the tray (TrayHost::SetMenu) is about to open.
inline constexpr int kTrayMenuOpening = 1150;

// szTip holds 128 bytes with its terminator.
inline constexpr std::size_t kTrayTipLimit = 127;

// The notification-area icon, owned by a form whose events carry the icon's mouse messages.
class TrayIcon {
public:
    using Handler = std::function<void(int code)>;

    explicit TrayIcon(TrayHost& host);
    // Removes the icon if it is still there.
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon for a loaded owner form; without icon data the owner's small icon is used.
    [[nodiscard]] bool Add(ui::Form& owner, BytesView iconData = {});
    // Unhooks the owner and removes the icon.
    void Remove();
    // The tip, cut to kTrayTipLimit bytes.
    void SetTip(TextView tip);
    // Hands the owner's menu to the tray, where the tray shows menus itself.
    void SetMenu(TextView menu);
    [[nodiscard]] bool HostPresent() const { return m_host.HostPresent(); }
    // Hooks the owner so that the icon's events reach the handler: TrayNotify codes, and
    // kTrayOwnerDestroyed when the owner is destroyed. False when there is no loaded owner.
    [[nodiscard]] bool InstallHandler(Handler handler);
    void RefreshNotificationArea(bool overflow = false);

private:
    [[nodiscard]] bool OnOwnerEvent(const ui::Event& event);

    TrayHost& m_host;
    ui::Form* m_owner = nullptr;
    bool m_added = false;
    ui::Form::HookId m_hook = 0;
    Handler m_handler;
};

// The first bytes of a GBK text, at most limit of them, never ending inside a double-byte
// character.
[[nodiscard]] Text CutText(TextView text, std::size_t limit);

} // namespace tovrik::app
