#include "fakes/FakeTrayHost.h"

namespace tovrik::fakes {

void FakeTrayHost::SetTip(TextView tip) {
    NoteTo(m_journal, "SetTip " + Text(tip));
    m_tip = Text(tip);
}

void FakeTrayHost::SweepNotificationArea(bool overflow) {
    NoteTo(m_journal, overflow ? "Sweep overflow" : "Sweep");
    m_sweeps.push_back(overflow);
}

bool FakeTrayHost::AddIcon(ui::FormId owner, BytesView iconData) {
    NoteTo(m_journal, "AddIcon");
    ++m_adds;
    m_present = true;
    m_owner = owner;
    m_icon = Bytes(iconData);
    return true;
}

void FakeTrayHost::RemoveIcon() {
    NoteTo(m_journal, "RemoveIcon");
    ++m_removes;
    m_present = false;
    m_owner = 0;
}

} // namespace tovrik::fakes
