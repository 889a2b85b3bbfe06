#pragma once

#include "app/HotkeyRegistrar.h"
#include "fakes/CallJournal.h"

#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace tovrik::fakes {

// System-wide hotkeys in memory: a combination can be held once, by this program or by
// "another program" that the test names. Every call is recorded.
class FakeHotkeyRegistrar final : public app::HotkeyRegistrar {
public:
    struct Registration {
        ui::FormId owner;
        int id;
        unsigned modifiers;
        int virtualKey;
    };
    struct Call {
        bool registering; // false: Unregister
        Registration registration;
        bool result;
    };

    [[nodiscard]] bool Register(ui::FormId owner, int id, unsigned modifiers, int virtualKey) override;
    void Unregister(ui::FormId owner, int id) override;
    [[nodiscard]] Text UnavailableHint() const override { return unavailableHint; }

    // A desktop without system-wide hotkeys: every registration fails, and this is the hint.
    Text unavailableHint;

    void SetJournal(CallJournal* journal) { m_journal = journal; }
    void TakeByOtherProgram(unsigned modifiers, int virtualKey) { m_foreign.insert({modifiers, virtualKey}); }
    // The registration that holds this combination, if this program holds it.
    [[nodiscard]] std::optional<Registration> Holder(unsigned modifiers, int virtualKey) const;
    [[nodiscard]] const std::vector<Registration>& Active() const { return m_active; }
    [[nodiscard]] const std::vector<Call>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }

private:
    CallJournal* m_journal = nullptr;
    std::vector<Registration> m_active;
    std::vector<Call> m_calls;
    std::set<std::pair<unsigned, int>> m_foreign;
};

} // namespace tovrik::fakes
