#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tovrik::standin::test {

// The tovrik-standin executable started on a free port of 127.0.0.1 for the life of the object;
// the constructor returns once it prints its "listening on" line (or gave up after 60 s).
class StandinProcess {
public:
    static constexpr const char* kApiKey = "test-api-key";
    static constexpr const char* kSecretKey = "test-secret-key";
    static constexpr const char* kAppId = "20991231000000042";
    static constexpr const char* kAppKey = "test-app-key";

    explicit StandinProcess(const std::vector<std::string>& extraArguments = {});
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    [[nodiscard]] int Port() const { return m_port; }
    [[nodiscard]] pid_t Pid() const { return m_pid; }
    [[nodiscard]] bool IsListening() const { return m_port > 0; }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    int m_port = 0;
};

} // namespace tovrik::standin::test
