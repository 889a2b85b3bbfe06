#include "fakes/FakeProcessControl.h"

#include <string>

namespace tovrik::fakes {

bool FakeProcessControl::Relaunch(TextView programDirectory, TextView executable, int waitCount) {
    NoteTo(m_journal, "Relaunch " + std::to_string(waitCount));
    m_relaunches.push_back({Text(programDirectory), Text(executable), waitCount});
    return m_relaunchWorks;
}

void FakeProcessControl::Exit(int code) {
    NoteTo(m_journal, "Exit " + std::to_string(code));
    m_exitCodes.push_back(code);
}

} // namespace tovrik::fakes
