#include "app/TrayIcon.h"

#include <utility>

namespace tovrik::app {

TrayIcon::TrayIcon(TrayHost& host) : m_host(host) {}

TrayIcon::~TrayIcon() {
    Remove();
}

bool TrayIcon::Add(ui::Form& owner, BytesView iconData) {
    if (!owner.IsLoaded()) {
        return false;
    }
    m_owner = &owner;
    m_added = m_host.AddIcon(owner.Id(), iconData);
    return m_added;
}

void TrayIcon::Remove() {
    if (m_owner != nullptr && m_hook != 0) {
        m_owner->RemoveHook(std::exchange(m_hook, 0));
    }
    m_owner = nullptr;
    if (std::exchange(m_added, false)) {
        m_host.RemoveIcon();
    }
}

void TrayIcon::SetTip(TextView tip) {
    m_host.SetTip(CutText(tip, kTrayTipLimit));
}

void TrayIcon::SetMenu(TextView menu) {
    if (m_owner != nullptr && m_owner->IsLoaded()) {
        m_host.SetMenu(m_owner->Id(), menu);
    }
}

bool TrayIcon::InstallHandler(Handler handler) {
    if (m_owner == nullptr || !m_owner->IsLoaded()) {
        return false;
    }
    m_handler = std::move(handler);
    if (m_hook == 0) {
        m_hook = m_owner->AddHook([this](const ui::Event& event) { return OnOwnerEvent(event); });
    }
    return true;
}

void TrayIcon::RefreshNotificationArea(bool overflow) {
    m_host.SweepNotificationArea(overflow);
}

bool TrayIcon::OnOwnerEvent(const ui::Event& event) {
    // Copied: the handler may remove the icon, and with it this hook.
    const Handler handler = m_handler;
    if (event.kind == ui::EventKind::TrayNotify) {
        if (handler) {
            handler(event.code);
        }
        return true;
    }
    if (event.kind == ui::EventKind::Destroyed && handler) {
        handler(kTrayOwnerDestroyed);
    }
    return false;
}

Text CutText(TextView text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const auto byte = static_cast<unsigned char>(text[end]);
        const std::size_t width = (byte >= 0x81 && byte <= 0xFE && end + 1 < text.size()) ? 2 : 1;
        if (end + width > limit) {
            break;
        }
        end += width;
    }
    return Text(text.substr(0, end));
}

} // namespace tovrik::app
