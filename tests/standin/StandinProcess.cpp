#include "StandinProcess.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace tovrik::standin::test {

namespace {

constexpr int kStartTimeoutMs = 60000;
constexpr std::string_view kListening = "listening on 127.0.0.1:";

// Keeps the tests' stand-ins out of the user's data folder; a later --token-secret-file wins.
std::string TestSecretFile() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && folder[0] != '\0' ? folder : "/tmp") + "/tovrik-standin-tests-secret";
}

} // namespace

StandinProcess::StandinProcess(const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = {
        TOVRIK_STANDIN_EXE, "--port",   "0",    "--api-key", kApiKey, "--secret-key",
        kSecretKey,         "--app-id", kAppId, "--app-key", kAppKey, "--token-secret-file",
        TestSecretFile()};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    m_stdout = pipeFds[0];
    if (spawned != 0) {
        m_pid = -1;
        return;
    }

    // The pipe stays open while the stand-in runs: closing it would end the child on its next
    // write to stdout.
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry{m_stdout, POLLIN, 0};
        if (poll(&entry, 1, 200) <= 0) {
            continue;
        }
        char buffer[256];
        const ssize_t count = read(m_stdout, buffer, sizeof buffer);
        if (count <= 0) {
            return;
        }
        output.append(buffer, static_cast<size_t>(count));
        const size_t at = output.find(kListening);
        const size_t end = at == std::string::npos ? std::string::npos : output.find('\n', at);
        if (end != std::string::npos) {
            m_port = std::stoi(output.substr(at + kListening.size(), end - at - kListening.size()));
            return;
        }
    }
}

StandinProcess::~StandinProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (waitpid(m_pid, &status, WNOHANG) == 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
    }
    if (m_stdout >= 0) {
        close(m_stdout);
    }
}

} // namespace tovrik::standin::test
