#pragma once

#include "app/Shell.h"

namespace tovrik::app {

// Explorer and the default browser.
class Win32Shell final : public Shell {
public:
    void OpenFolder(TextView folder) override;
    void RevealFile(TextView file) override;
    void OpenUrl(TextView url) override;
};

// The command line that opens Explorer with the file selected.
[[nodiscard]] Text RevealCommandLine(TextView file);

} // namespace tovrik::app
