#pragma once

#include "app/AutostartStore.h"

namespace tovrik::app {

// Autostart entries of the XDG desktops: <config>/autostart/<name>.desktop, where <config> is
// $XDG_CONFIG_HOME, or ~/.config when that is unset or not an absolute path.
class XdgAutostartStore final : public AutostartStore {
public:
    [[nodiscard]] bool SetEntry(TextView name, TextView executablePath) override;
    [[nodiscard]] bool RemoveEntry(TextView name) override;
    [[nodiscard]] bool HasEntry(TextView name) const override;

    // The entry's path (program text).
    [[nodiscard]] static Text EntryPath(TextView name);
};

} // namespace tovrik::app
