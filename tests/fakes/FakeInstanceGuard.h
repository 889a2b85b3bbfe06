#pragma once

#include "app/InstanceGuard.h"
#include "fakes/CallJournal.h"

#include <set>
#include <utility>
#include <vector>

namespace tovrik::fakes {

// Names held by "other processes" are set by the test; the rest are taken on first request.
// Commands sent to another process are recorded; the test delivers commands to this one.
class FakeInstanceGuard final : public app::InstanceGuard {
public:
    [[nodiscard]] bool Acquire(TextView name) override;
    void SetReceiver(Receiver receiver) override { m_receiver = std::move(receiver); }
    [[nodiscard]] bool Send(TextView name, app::InstanceCommand command) override;

    void SetJournal(CallJournal* journal) { m_journal = journal; }
    void HeldByAnotherProcess(TextView name) { m_foreign.emplace(name); }
    [[nodiscard]] bool Holds(TextView name) const { return m_held.contains(Text(name)); }
    // The other process does not take commands (an old copy, or one that hangs).
    void OtherProcessDeaf() { m_otherListens = false; }
    [[nodiscard]] const std::vector<app::InstanceCommand>& Sent() const { return m_sent; }
    // A command from another copy, as the event loop would hand it over; false when nobody
    // receives.
    bool Deliver(app::InstanceCommand command) const {
        if (!m_receiver) {
            return false;
        }
        m_receiver(command);
        return true;
    }

private:
    CallJournal* m_journal = nullptr;
    std::set<Text> m_foreign;
    std::set<Text> m_held;
    Receiver m_receiver;
    std::vector<app::InstanceCommand> m_sent;
    bool m_otherListens = true;
};

} // namespace tovrik::fakes
