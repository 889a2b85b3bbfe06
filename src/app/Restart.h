#pragma once

#include "app/ProcessControl.h"
#include "text/Types.h"

#include <optional>

namespace tovrik::app {

inline constexpr TextView kRestartScriptName = "Restart.bat";

// A missing wait count, or one below 1, is 2.
[[nodiscard]] int RestartWaitCount(std::optional<int> waitCount);
// The batch file that waits (one loopback ping per count), starts the program by its short
// path with an empty window title and deletes itself. Lines joined by CR LF, the last one
// without a line break.
[[nodiscard]] Text RestartBatchText(TextView shortPath, int waitCount);
// Starts the program again after the wait and ends this process with exit code 0. Does
// nothing when the executable is missing, and keeps running when it could not be started.
void Restart(ProcessControl& process, TextView programDirectory, std::optional<int> waitCount = std::nullopt);

} // namespace tovrik::app
