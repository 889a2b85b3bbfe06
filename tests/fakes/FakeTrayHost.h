#pragma once

#include "app/TrayHost.h"
#include "fakes/CallJournal.h"

#include <vector>

namespace tovrik::fakes {

// The notification area in memory: at most one icon, its tip, and the sweeps asked for.
class FakeTrayHost final : public app::TrayHost {
public:
    [[nodiscard]] bool AddIcon(ui::FormId owner, BytesView iconData) override;
    void SetTip(TextView tip) override;
    void RemoveIcon() override;
    void SweepNotificationArea(bool overflow) override;
    void SetMenu(ui::FormId owner, TextView menu) override { m_menu = Text(menu), m_menuOwner = owner; }
    [[nodiscard]] bool HostPresent() const override { return m_hostPresent; }
    // Whether a tray shows icons; the test raises the matching TrayNotify itself.
    void SetHostPresent(bool present) { m_hostPresent = present; }
    [[nodiscard]] const Text& Menu() const { return m_menu; }
    [[nodiscard]] ui::FormId MenuOwner() const { return m_menuOwner; }

    void SetJournal(CallJournal* journal) { m_journal = journal; }

    [[nodiscard]] bool HasIcon() const { return m_present; }
    [[nodiscard]] ui::FormId Owner() const { return m_owner; }
    [[nodiscard]] const Bytes& IconData() const { return m_icon; }
    [[nodiscard]] const Text& Tip() const { return m_tip; }
    [[nodiscard]] int AddCount() const { return m_adds; }
    [[nodiscard]] int RemoveCount() const { return m_removes; }
    // The overflow flag of each sweep, in order.
    [[nodiscard]] const std::vector<bool>& Sweeps() const { return m_sweeps; }

private:
    CallJournal* m_journal = nullptr;
    bool m_present = false;
    ui::FormId m_owner = 0;
    Bytes m_icon;
    Text m_tip;
    int m_adds = 0;
    int m_removes = 0;
    std::vector<bool> m_sweeps;
    bool m_hostPresent = true;
    Text m_menu;
    ui::FormId m_menuOwner = 0;
};

} // namespace tovrik::fakes
