#pragma once

#include "text/Types.h"

namespace tovrik::app {

// Where the system keeps the programs it starts at logon.
// Windows: values under HKEY_LOCAL_MACHINE\<kRunKey> (app/Autostart.h), type REG_SZ.
// Linux: XDG autostart entries, $XDG_CONFIG_HOME/autostart/<name>.desktop, with the text of
// DesktopEntryText (app/Autostart.h) converted to UTF-8.
class AutostartStore {
public:
    virtual ~AutostartStore() = default;
    // RegCreateKeyExA on the Run key for writing, RegSetValueExA(name, command).
    [[nodiscard]] virtual bool SetEntry(TextView name, TextView executablePath) = 0;
    // RegDeleteValueA(name) under the Run key; when that fails, RegDeleteKeyA of the Run key's
    // subkey of that name.
    [[nodiscard]] virtual bool RemoveEntry(TextView name) = 0;
    // RegQueryValueExA(name) under the Run key succeeds.
    [[nodiscard]] virtual bool HasEntry(TextView name) const = 0;
};

} // namespace tovrik::app
