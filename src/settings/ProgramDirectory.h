#pragma once

#include "text/Types.h"

#include <functional>

namespace tovrik::settings {

struct ProgramDirectoryChoice {
    Text directory;
    // The executable's folder when the settings could not be written there; empty otherwise.
    Text unwritable;
};

// The folder of the settings file, the screenshots and the speech file, without a trailing
// separator: the executable's folder; when that folder is not writable (a system-wide
// installation, a read-only share), the user's data folder for the program, created when
// missing: $XDG_DATA_HOME/TovrikOcr on Linux, %APPDATA%\TovrikOcr on Windows.
[[nodiscard]] ProgramDirectoryChoice ChooseProgramDirectory();
[[nodiscard]] Text ProgramDirectory();

// The rule itself, for any executable folder and fallback. Without a fallback folder (no user
// data folder known) the executable's folder stays, unwritable as it is.
[[nodiscard]] ProgramDirectoryChoice ChooseDirectory(TextView executableDirectory,
                                                     const std::function<Text()>& fallback);

// True for the bin folder of an installed prefix, <prefix>/bin beside <prefix>/share, as a
// package or cmake --install lays it out: an installed program keeps no files of its own there,
// even when its user can write it (root can write /usr/bin).
[[nodiscard]] bool IsInstalledBinFolder(TextView executableDirectory);

} // namespace tovrik::settings
