#include "app/HotkeyTable.h"

#include <algorithm>
#include <utility>

namespace tovrik::app {

HotkeyTable::HotkeyTable(HotkeyRegistrar& registrar) : m_registrar(registrar) {}

HotkeyTable::~HotkeyTable() {
    if (m_hooked != nullptr) {
        UnregisterAll(*m_hooked);
    }
}

bool HotkeyTable::Register(ui::Form& owner, unsigned modifiers, int virtualKey, Handler handler, int id) {
    std::erase_if(m_entries, [&](const Entry& entry) {
        if (entry.id != id) {
            return false;
        }
        m_registrar.Unregister(entry.owner->Id(), entry.id);
        return true;
    });
    if (id == 0 || !m_registrar.Register(owner.Id(), id, modifiers, virtualKey)) {
        return false;
    }
    m_entries.push_back({&owner, id, std::move(handler)});
    if (m_hooked == nullptr) {
        m_hooked = &owner;
        m_hook = owner.AddHook([this](const ui::Event& event) { return OnOwnerEvent(event); });
    }
    return true;
}

void HotkeyTable::UnregisterOne(ui::Form& owner, int id) {
    m_registrar.Unregister(owner.Id(), id);
}

void HotkeyTable::UnregisterAll(ui::Form& owner) {
    for (const Entry& entry : m_entries) {
        m_registrar.Unregister(entry.owner->Id(), entry.id);
    }
    if (m_hooked == &owner) {
        owner.RemoveHook(m_hook);
        m_hooked = nullptr;
    }
    m_entries.clear();
}

bool HotkeyTable::OnOwnerEvent(const ui::Event& event) {
    if (event.kind != ui::EventKind::Hotkey) {
        return false;
    }
    // An id that is not ours can only come from someone else's registration: pass it on.
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& entry) { return entry.id == event.code; });
    if (found == m_entries.end()) {
        return false;
    }
    const Handler handler = found->handler;
    if (handler) {
        handler();
    }
    return true;
}

} // namespace tovrik::app
