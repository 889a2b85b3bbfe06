#pragma once

#include "app/ProcessControl.h"

namespace tovrik::app {

// Restarting and ending the program on Linux.
class PosixProcessControl final : public ProcessControl {
public:
    PosixProcessControl() = default;
    ~PosixProcessControl() override;
    PosixProcessControl(const PosixProcessControl&) = delete;
    PosixProcessControl& operator=(const PosixProcessControl&) = delete;

    // A detached grandchild in a session of its own waits until this process has ended (the
    // end of a pipe this process holds), then waitCount - 1 seconds, then executes the program
    // in the program directory. Waiting for the end first means the new copy never meets the
    // old one's single-instance lock.
    [[nodiscard]] bool Relaunch(TextView programDirectory, TextView executable, int waitCount) override;
    // Inside the event loop: leaves it with the code, so that the program ends the normal way
    // (the clipboard is handed to a clipboard manager). Before the loop runs: ends the process
    // at once.
    void Exit(int code) override;

private:
    int m_lifeline = -1; // write end of the pipe the relaunched copy waits on
};

} // namespace tovrik::app
