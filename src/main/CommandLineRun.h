#pragma once

#include "text/Types.h"

#include <vector>

namespace tovrik {

// Runs the scripting commands with the platform's service ports; the process's exit code.
// Arguments are program text, without the program name.
[[nodiscard]] int RunCommandLine(const std::vector<Text>& arguments);

} // namespace tovrik
