#include "fakes/FakeAutostartStore.h"

namespace tovrik::fakes {

bool FakeAutostartStore::SetEntry(TextView name, TextView executablePath) {
    NoteTo(m_journal, "SetEntry " + Text(name));
    if (m_refuse) {
        return false;
    }
    m_entries[Text(name)] = Text(executablePath);
    return true;
}

bool FakeAutostartStore::RemoveEntry(TextView name) {
    NoteTo(m_journal, "RemoveEntry " + Text(name));
    return !m_refuse && m_entries.erase(Text(name)) != 0;
}

bool FakeAutostartStore::HasEntry(TextView name) const {
    NoteTo(m_journal, "HasEntry " + Text(name));
    return m_entries.contains(Text(name));
}

} // namespace tovrik::fakes
