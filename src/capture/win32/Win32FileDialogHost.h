#pragma once

#include "capture/FileDialogHost.h"

namespace tovrik::capture {

// The common save-file dialog of Windows (the wide version, fed with the program text
// converted from code page 936, so Chinese names work whatever the system's code page).
class Win32FileDialogHost final : public FileDialogHost {
public:
    [[nodiscard]] std::optional<Text> RunSaveDialog(const FileDialogRequest& request) override;
};

} // namespace tovrik::capture
