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

} // namespace tovrik::fakes
