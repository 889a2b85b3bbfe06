#pragma once

#include "capture/FileDialogHost.h"

#include <QStringList>

namespace tovrik::capture {

// Qt's own save dialog (no desktop portal: it must work under any desktop and in tests).
// Opened from the overlay, which no window manager keeps below other windows, the dialog is
// laid inside the overlay's window, centred on the monitor under the pointer, so that it
// cannot end up hidden behind it.
class QtFileDialogHost final : public FileDialogHost {
public:
    [[nodiscard]] std::optional<Text> RunSaveDialog(const FileDialogRequest& request) override;

    // Qt name filters, "description (pattern)", unless the description already ends with the
    // pattern in brackets.
    [[nodiscard]] static QStringList NameFilters(const FileDialogRequest& request);
};

} // namespace tovrik::capture
