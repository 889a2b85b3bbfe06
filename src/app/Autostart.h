#pragma once

#include "app/AutostartStore.h"
#include "text/Types.h"

namespace tovrik::app {

// The name of the autostart entry: a value under the Run key on Windows, the .desktop file's
// base name on Linux.
inline constexpr TextView kAutostartName = "TovrikOcr";
// Under HKEY_LOCAL_MACHINE.
inline constexpr TextView kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The full path of the running executable, as the process itself knows it; "-" when unknown.
[[nodiscard]] Text ExecutablePath();
// Writes or deletes the autostart entry for the running executable.
void SetAutostart(AutostartStore& store, bool on);
[[nodiscard]] bool AutostartEnabled(const AutostartStore& store);
// The text of an XDG autostart entry that starts the executable (program text: the store
// converts it to UTF-8 when it writes the file).
[[nodiscard]] Text DesktopEntryText(TextView executablePath);

} // namespace tovrik::app
