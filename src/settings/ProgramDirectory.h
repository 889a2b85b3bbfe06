#pragma once

#include "text/Types.h"

namespace tovrik::settings {

// The folder of the settings file, the screenshots and the speech file, without a trailing
// separator: the executable's folder; on Linux, when that folder is not writable (a system-wide
// installation), the user's data folder for the program, created when missing.
[[nodiscard]] Text ProgramDirectory();

} // namespace tovrik::settings
