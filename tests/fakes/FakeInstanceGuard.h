#pragma once

#include "app/InstanceGuard.h"
#include "fakes/CallJournal.h"

#include <set>

namespace tovrik::fakes {

// Names held by "other processes" are set by the test; the rest are taken on first request.
class FakeInstanceGuard final : public app::InstanceGuard {
public:
    [[nodiscard]] bool Acquire(TextView name) override;

    void SetJournal(CallJournal* journal) { m_journal = journal; }
    void HeldByAnotherProcess(TextView name) { m_foreign.emplace(name); }
    [[nodiscard]] bool Holds(TextView name) const { return m_held.contains(Text(name)); }

private:
    CallJournal* m_journal = nullptr;
    std::set<Text> m_foreign;
    std::set<Text> m_held;
};

} // namespace tovrik::fakes
