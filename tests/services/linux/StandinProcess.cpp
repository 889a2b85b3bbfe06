#include "StandinProcess.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tovrik::servicetest {
namespace {

// Reads the announcement "listening on 127.0.0.1:PORT" (the engines load first: allow time).
[[nodiscard]] int ReadPort(int fd) {
    Text line;
    char c = 0;
    pollfd wanted{fd, POLLIN, 0};
    while (line.size() < 200 && poll(&wanted, 1, 30'000) > 0 && read(fd, &c, 1) == 1 && c != '\n') {
        line.push_back(c);
    }
    int port = 0;
    return std::sscanf(line.c_str(), "listening on 127.0.0.1:%d", &port) == 1 ? port : 0;
}

} // namespace

StandinProcess::StandinProcess(const Text& executable, const std::vector<Text>& options) {
    if (executable.empty() || access(executable.c_str(), X_OK) != 0) {
        return;
    }
    std::vector<Text> arguments{executable, "--port", "0"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (Text& argument : arguments) {
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
    // Its request log would only clutter the test output.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&m_pid, executable.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        m_pid = -1;
        close(pipeFds[0]);
        return;
    }
    m_port = ReadPort(pipeFds[0]);
    close(pipeFds[0]);
}

StandinProcess::~StandinProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}

Text StandinProcess::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

} // namespace tovrik::servicetest
