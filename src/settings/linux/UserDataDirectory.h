#pragma once

#include "text/Types.h"

namespace tovrik::settings {

inline constexpr TextView kUserDataFolderName = "TovrikOcr";

// $XDG_DATA_HOME/TovrikOcr, or ~/.local/share/TovrikOcr when that variable is unset or not an
// absolute path (as the XDG base directory rules say); created when missing.
[[nodiscard]] Text UserDataDirectory();

} // namespace tovrik::settings
