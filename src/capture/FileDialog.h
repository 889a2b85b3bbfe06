#pragma once

#include "capture/FileDialogHost.h"

namespace tovrik::capture {

// One save-file dialog: filled by Init, shown by Save, read by Path.
class FileDialog {
public:
    explicit FileDialog(FileDialogHost& host) : m_host(host) {}

    // The filter is the program's "|"-separated text ("PNG图片(*.png)|*.png|..."); an empty
    // one offers all files.
    void Init(std::uintptr_t owner, TextView filter = {}, TextView defaultExtension = {}, TextView initialName = {},
              int filterIndex = 0, std::uint32_t extraFlags = 0);
    // True when the user confirmed a name. The title defaults to "保存".
    [[nodiscard]] bool Save(TextView title = {});
    // The chosen name with the platform's separators, doubled separators collapsed and the
    // default extension added when it has none; empty when no name was chosen.
    [[nodiscard]] Text Path() const;

    [[nodiscard]] const FileDialogRequest& Request() const { return m_request; }

private:
    FileDialogHost& m_host;
    FileDialogRequest m_request;
    Text m_chosen;
};

} // namespace tovrik::capture
