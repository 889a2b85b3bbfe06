#include "fakes/FakeHotkeyRegistrar.h"

#include <algorithm>
#include <string>

namespace tovrik::fakes {

bool FakeHotkeyRegistrar::Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) {
    const Registration registration{owner, id, modifiers, virtualKey};
    const bool taken = !unavailableHint.empty() || m_foreign.contains({modifiers, virtualKey}) ||
                       Holder(modifiers, virtualKey).has_value();
    if (!taken) {
        m_active.push_back(registration);
    }
    m_calls.push_back({true, registration, !taken});
    NoteTo(m_journal, "Register " + std::to_string(modifiers) + "+" + std::to_string(virtualKey));
    return !taken;
}

void FakeHotkeyRegistrar::Unregister(ui::FormId owner, int id) {
    const auto removed = std::erase_if(m_active, [&](const Registration& r) { return r.owner == owner && r.id == id; });
    m_calls.push_back({false, {owner, id, 0, 0}, removed != 0});
    NoteTo(m_journal, "Unregister " + std::to_string(id));
}

std::optional<FakeHotkeyRegistrar::Registration> FakeHotkeyRegistrar::Holder(unsigned modifiers, int virtualKey) const {
    const auto found = std::find_if(m_active.begin(), m_active.end(), [&](const Registration& r) {
        return r.modifiers == modifiers && r.virtualKey == virtualKey;
    });
    return found != m_active.end() ? std::optional(*found) : std::nullopt;
}

} // namespace tovrik::fakes
