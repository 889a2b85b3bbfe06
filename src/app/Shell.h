#pragma once

#include "text/Types.h"

namespace tovrik::app {

// The desktop's file manager and web browser. Failures are not reported.
class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecuteA(0, "explore", folder, ...); Linux: xdg-open on the folder.
    virtual void OpenFolder(TextView folder) = 0;
    // CreateProcessA with the command line "Explorer /select, \"<file>\"" (normal window,
    // WaitForInputIdle at most 1000 ms); Linux: the file manager's ShowItems over D-Bus, or the
    // folder when that is not offered.
    virtual void RevealFile(TextView file) = 0;
    // ShellExecuteA(0, "open", url, ...); Linux: xdg-open.
    virtual void OpenUrl(TextView url) = 0;
};

} // namespace tovrik::app
