#pragma once

#include "app/InstanceCommand.h"

#include <optional>

namespace tovrik {

// The tray program: the Qt application, the Linux backend of every port, the shell and the
// commands behind its hotkeys, until the exit entry of the tray menu ends it. A start command
// runs once the program has started (a trigger found no running copy). Returns the process's
// exit code.
[[nodiscard]] int RunGui(int argc, char** argv, std::optional<app::InstanceCommand> startCommand = std::nullopt);

// A command-line trigger: hands the command to the running copy, or, when none runs, becomes
// that copy in the background (a process of its own session) and returns 0 at once, so that a
// desktop's key binding never waits. 1 when there is no display to start a copy on.
[[nodiscard]] int RunTrigger(char* program, app::InstanceCommand command);

} // namespace tovrik
