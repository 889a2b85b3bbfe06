#pragma once

namespace tovrik {

// The tray program: the Qt application, the Linux backend of every port, the shell and the
// commands behind its hotkeys, until the exit entry of the tray menu ends it. Returns the
// process's exit code.
[[nodiscard]] int RunGui(int argc, char** argv);

} // namespace tovrik
