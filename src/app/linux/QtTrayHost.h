#pragma once

#include "app/TrayHost.h"

#include <memory>

class QSystemTrayIcon;

namespace tovrik::ui {
class QtWindowSystem;
}

namespace tovrik::app {

// The notification-area icon through QSystemTrayIcon (an XEmbed tray or a StatusNotifier
// host). Its clicks reach the owner form as the Windows mouse messages the core expects:
// 515 for a left double-click, 516 for the right button going down, 514 for a left click.
// A tray that appears after the icon was added still gets it; a host without a tray keeps
// the icon hidden until one comes.
class QtTrayHost final : public TrayHost {
public:
    explicit QtTrayHost(ui::QtWindowSystem& windows);
    ~QtTrayHost() override;
    QtTrayHost(const QtTrayHost&) = delete;
    QtTrayHost& operator=(const QtTrayHost&) = delete;

    [[nodiscard]] bool AddIcon(ui::FormId owner, BytesView iconData) override;
    void SetTip(TextView tip) override;
    void RemoveIcon() override;
    // The tray drops the icons of ended programs itself.
    void SweepNotificationArea(bool) override {}

private:
    ui::QtWindowSystem& m_windows;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace tovrik::app
