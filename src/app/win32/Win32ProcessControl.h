#pragma once

#include "app/ProcessControl.h"

namespace tovrik::app {

// Restarts through the batch file Restart.bat in the program directory, run hidden by the
// command interpreter; ends the process at once.
class Win32ProcessControl final : public ProcessControl {
public:
    [[nodiscard]] bool Relaunch(TextView programDirectory, TextView executable, int waitCount) override;
    void Exit(int code) override;
};

// Starts a command line with the window shown as given, waits until it takes input (at most
// one second) and lets it go. False when it could not be started.
[[nodiscard]] bool StartProcess(TextView commandLine, TextView workingDirectory, int show);

} // namespace tovrik::app
