#pragma once

#include "text/Types.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tovrik::capture {

// Flags of the platform's file dialogs, as the save dialog passes them.
inline constexpr std::uint32_t kDialogFileMustExist = 0x1000;
inline constexpr std::uint32_t kDialogHideReadOnly = 0x4;
inline constexpr std::uint32_t kDialogExplorer = 0x80000;
inline constexpr std::uint32_t kDialogEnableSizing = 0x800000;

// Everything a save-file dialog is opened with.
struct FileDialogRequest {
    std::uintptr_t owner = 0; // native window, 0 for none
    // Pairs of description and pattern, each ended by a zero byte, the whole ended by a second
    // zero byte: "PNG图片(*.png)\0*.png\0\0".
    Bytes filter;
    Text defaultExtension; // without the dot; added to a name typed without extension
    Text initialName;
    int filterIndex = 0; // 0 and 1 both preselect the first pair
    Text title;
    std::uint32_t flags = 0;
};

// The filter taken apart into (description, pattern) pairs, for dialogs that want them so.
[[nodiscard]] std::vector<std::pair<Text, Text>> FilterEntries(const FileDialogRequest& request);

// The platform's save-file dialog.
class FileDialogHost {
public:
    virtual ~FileDialogHost() = default;
    // Shows the dialog modally; the confirmed file name, or nothing when cancelled.
    [[nodiscard]] virtual std::optional<Text> RunSaveDialog(const FileDialogRequest& request) = 0;
};

} // namespace tovrik::capture
