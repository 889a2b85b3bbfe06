#pragma once

#include "text/Types.h"

namespace tovrik::app {

// Starting this program again and ending it.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    // Starts the executable again, detached, after about waitCount - 1 seconds, and returns at
    // once. Windows: writes programDirectory\Restart.bat (RestartBatchText of app/Restart.h
    // with the executable's 8.3 short path from GetShortPathNameW, code page 936), starts it
    // hidden (CreateProcessA, SW_HIDE), waits at most 1000 ms (WaitForInputIdle) and closes the
    // handles. Linux: a detached child that sleeps, then executes the program.
    [[nodiscard]] virtual bool Relaunch(TextView programDirectory, TextView executable, int waitCount) = 0;
    // Ends the process with the code, without further clean-up (TerminateProcess on
    // GetCurrentProcess). Does not return, except in tests.
    virtual void Exit(int code) = 0;
};

} // namespace tovrik::app
