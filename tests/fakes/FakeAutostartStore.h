#pragma once

#include "app/AutostartStore.h"
#include "fakes/CallJournal.h"

#include <map>

namespace tovrik::fakes {

// Autostart entries in memory; writes can be made to fail as without administrator rights.
class FakeAutostartStore final : public app::AutostartStore {
public:
    [[nodiscard]] bool SetEntry(TextView name, TextView executablePath) override;
    [[nodiscard]] bool RemoveEntry(TextView name) override;
    [[nodiscard]] bool HasEntry(TextView name) const override;

    void SetJournal(CallJournal* journal) { m_journal = journal; }
    void RefuseWrites() { m_refuse = true; }
    [[nodiscard]] const std::map<Text, Text>& Entries() const { return m_entries; }

private:
    CallJournal* m_journal = nullptr;
    std::map<Text, Text> m_entries;
    bool m_refuse = false;
};

} // namespace tovrik::fakes
