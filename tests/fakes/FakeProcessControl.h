#pragma once

#include "app/ProcessControl.h"
#include "fakes/CallJournal.h"

#include <vector>

namespace tovrik::fakes {

// Records relaunches and exits; the process of course goes on running.
class FakeProcessControl final : public app::ProcessControl {
public:
    struct RelaunchRequest {
        Text programDirectory;
        Text executable;
        int waitCount;
    };

    [[nodiscard]] bool Relaunch(TextView programDirectory, TextView executable, int waitCount) override;
    void Exit(int code) override;

    void SetJournal(CallJournal* journal) { m_journal = journal; }
    void FailRelaunch() { m_relaunchWorks = false; }
    [[nodiscard]] const std::vector<RelaunchRequest>& Relaunches() const { return m_relaunches; }
    [[nodiscard]] const std::vector<int>& ExitCodes() const { return m_exitCodes; }

private:
    CallJournal* m_journal = nullptr;
    std::vector<RelaunchRequest> m_relaunches;
    std::vector<int> m_exitCodes;
    bool m_relaunchWorks = true;
};

} // namespace tovrik::fakes
