#pragma once

#include "app/AutostartStore.h"

namespace tovrik::app {

// Values under HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run, which the
// system starts at every logon. Writing needs administrator rights, which the program's
// manifest asks for.
class Win32AutostartStore final : public AutostartStore {
public:
    [[nodiscard]] bool SetEntry(TextView name, TextView executablePath) override;
    [[nodiscard]] bool RemoveEntry(TextView name) override;
    [[nodiscard]] bool HasEntry(TextView name) const override;
};

// The value written for the executable: its path in double quotes, so that a path with blanks
// cannot be read as a shorter program path followed by arguments.
[[nodiscard]] Text RunCommandOf(TextView executablePath);

} // namespace tovrik::app
