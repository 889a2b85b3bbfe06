#pragma once

#include "app/TrayHost.h"

#include <QIcon>
#include <QString>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace tovrik::ui {
class QtWindowSystem;
}

namespace tovrik::app {

class TrayPresenceWatch;

// The notification-area icon through QSystemTrayIcon, on an XEmbed tray or a StatusNotifier
// host. Its clicks reach the owner form as the Windows mouse messages the core expects: 515
// for a left double-click, and for the activation of a StatusNotifier host (a single click
// there, which has no double-click), 514 for a single click on an XEmbed tray, 516 for the
// right button when no menu has been handed over. A handed-over menu is the tray's own context
// menu, read by StatusNotifier hosts through D-Bus.
//
// Trays come and go: the program looks again whenever the X server or the session bus reports a
// change of the tray's owner (TrayPresenceWatch), and sleeps in between; when the last tray goes the owner hears
// kTrayHostGone, and when one comes the owner hears kTrayHostAppeared and an XEmbed icon is
// made anew for it (a StatusNotifier item registers again by itself). With no tray at start the icon is made only once
// one is there, of whichever kind it is. Qt keeps its first choice between the two kinds, so an
// icon made for one kind does not move to a host of the other that appears later.
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
    void SetMenu(ui::FormId owner, TextView menu) override;
    [[nodiscard]] bool HostPresent() const override { return m_present; }

private:
    [[nodiscard]] bool TrayPresent() const;
    void MakeIcon();
    void Watch();

    ui::QtWindowSystem& m_windows;
    ui::FormId m_owner = 0;
    QIcon m_image;
    QString m_tip;
    QMenu* m_menu = nullptr;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_present = false;
    bool m_statusNotifier = false;
    std::unique_ptr<TrayPresenceWatch> m_watch;
};

} // namespace tovrik::app
