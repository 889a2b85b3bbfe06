#include "fakes/FakeInstanceGuard.h"

namespace tovrik::fakes {

bool FakeInstanceGuard::Acquire(TextView name) {
    NoteTo(m_journal, "Acquire " + Text(name));
    if (m_foreign.contains(Text(name))) {
        return false;
    }
    m_held.emplace(name);
    return true;
}

bool FakeInstanceGuard::Send(TextView name, app::InstanceCommand command) {
    NoteTo(m_journal, "Send " + Text(name) + " " + Text(app::CommandWord(command)));
    if (!m_foreign.contains(Text(name)) || !m_otherListens) {
        return false;
    }
    m_sent.push_back(command);
    return true;
}

} // namespace tovrik::fakes
