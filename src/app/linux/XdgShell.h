#pragma once

#include "app/Shell.h"

namespace tovrik::app {

// The desktop's file manager and browser: xdg-open (or gio open where xdg-utils is missing),
// and the file manager's ShowItems call over the session bus to point at a file.
class XdgShell final : public Shell {
public:
    void OpenFolder(TextView folder) override;
    // The folder of the file is opened instead when no file manager answers ShowItems.
    void RevealFile(TextView file) override;
    void OpenUrl(TextView url) override;
};

} // namespace tovrik::app
