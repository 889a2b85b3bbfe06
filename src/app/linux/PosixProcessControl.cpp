#include "app/linux/PosixProcessControl.h"

#include "text/Encoding.h"

#include <QCoreApplication>
#include <QThread>

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

namespace tovrik::app {

namespace {

// Runs in the forked grandchild: only async-signal-safe calls from here on.
[[noreturn]] void WaitAndExecute(int lifeline, const char* directory, const char* executable, int seconds) {
    char byte = 0;
    while (true) {
        const ssize_t got = ::read(lifeline, &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR)) {
            break;
        }
    }
    timespec wait{seconds, 0};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
    // Nothing of the old process but the standard streams goes over to the new one.
    ::syscall(SYS_close_range, 3u, ~0u, 0u);
    static_cast<void>(::chdir(directory));
    char* const arguments[] = {const_cast<char*>(executable), nullptr};
    ::execv(executable, arguments);
    ::_exit(127);
}

} // namespace

PosixProcessControl::~PosixProcessControl() {
    if (m_lifeline >= 0) {
        ::close(m_lifeline);
    }
}

bool PosixProcessControl::Relaunch(TextView programDirectory, TextView executable, int waitCount) {
    const std::string directory = text::TextToUtf8(programDirectory);
    const std::string path = text::TextToUtf8(executable);
    const int seconds = waitCount > 1 ? waitCount - 1 : 0;
    int pipe[2] = {-1, -1};
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipe[0]);
        ::close(pipe[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            ::_exit(grandchild < 0 ? 1 : 0);
        }
        ::close(pipe[1]);
        WaitAndExecute(pipe[0], directory.c_str(), path.c_str(), seconds);
    }
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ::close(pipe[1]);
        return false;
    }
    if (m_lifeline >= 0) {
        ::close(m_lifeline);
    }
    m_lifeline = pipe[1];
    return true;
}

void PosixProcessControl::Exit(int code) {
    if (QCoreApplication::instance() != nullptr && QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(code);
        return;
    }
    std::fflush(nullptr);
    ::_exit(code);
}

} // namespace tovrik::app
