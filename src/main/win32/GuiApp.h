#pragma once

namespace tovrik {

// The tray program: the Win32 backend of every port, the shell and the commands behind its
// hotkeys, until the exit entry of the tray menu ends the process. Returns the exit code of a
// start that never got as far as the tray.
[[nodiscard]] int RunGui();

} // namespace tovrik
