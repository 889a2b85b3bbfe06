#pragma once

#include "text/Types.h"

#include <sys/types.h>

#include <vector>

namespace tovrik::servicetest {

// The stand-in executable, started on a free port of 127.0.0.1 and stopped (SIGTERM, then
// waited for) when the object goes.
class StandinProcess {
public:
    // Empty path or a missing binary: Running() is false.
    StandinProcess(const Text& executable, const std::vector<Text>& options);
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    [[nodiscard]] bool Running() const { return m_port > 0; }
    [[nodiscard]] Text BaseUrl() const;

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

} // namespace tovrik::servicetest
