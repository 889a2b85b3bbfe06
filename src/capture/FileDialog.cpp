#include "capture/FileDialog.h"

#include "capture/PathText.h"
#include "files/Files.h"

namespace tovrik::capture {

namespace {

constexpr TextView kAllFilesFilter = "所有文件(*.*)|*.*";
constexpr TextView kDefaultTitle = "保存";
constexpr std::uint32_t kBaseFlags = kDialogExplorer | kDialogHideReadOnly | kDialogFileMustExist | kDialogEnableSizing;

// "|" becomes a zero byte, then two zero bytes end the list.
Bytes ZeroSeparated(TextView filter) {
    Bytes result;
    for (std::size_t i = 0; i < filter.size();) {
        const std::size_t length = CharLength(filter, i);
        if (length == 1 && filter[i] == '|') {
            result += '\0';
        } else {
            result.append(filter.substr(i, length));
        }
        i += length;
    }
    result.append(2, '\0');
    return result;
}

} // namespace

std::vector<std::pair<Text, Text>> FilterEntries(const FileDialogRequest& request) {
    std::vector<Text> parts;
    BytesView rest = request.filter;
    while (!rest.empty() && rest.front() != '\0') {
        const std::size_t end = rest.find('\0');
        parts.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == BytesView::npos ? rest.size() : end + 1);
    }
    std::vector<std::pair<Text, Text>> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

void FileDialog::Init(std::uintptr_t owner, TextView filter, TextView defaultExtension, TextView initialName,
                      int filterIndex, std::uint32_t extraFlags) {
    m_request = FileDialogRequest{};
    m_request.owner = owner;
    m_request.filter = ZeroSeparated(filter.empty() ? kAllFilesFilter : filter);
    m_request.defaultExtension = Text(defaultExtension);
    m_request.initialName = Text(initialName);
    m_request.filterIndex = filterIndex;
    m_request.flags = kBaseFlags | extraFlags;
    m_chosen.clear();
}

bool FileDialog::Save(TextView title) {
    m_request.title = Text(title.empty() ? kDefaultTitle : title);
    m_chosen.clear();
    std::optional<Text> chosen = m_host.RunSaveDialog(m_request);
    if (!chosen || chosen->empty()) {
        return false;
    }
    m_chosen = std::move(*chosen);
    return true;
}

Text FileDialog::Path() const {
    if (m_chosen.empty()) {
        return {};
    }
    Text path = NormalisePath(m_chosen, files::PathSeparator());
    if (PathExtension(path).empty() && !m_request.defaultExtension.empty()) {
        path += '.';
        path += m_request.defaultExtension;
    }
    return path;
}

} // namespace tovrik::capture
