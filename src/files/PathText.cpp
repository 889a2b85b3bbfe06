#include "files/PathText.h"

#include "files/Files.h"
#include "text/TextSearch.h"

namespace tovrik::files {

std::vector<std::size_t> SeparatorOffsets(TextView path) {
    const char native = PathSeparator();
    std::vector<std::size_t> offsets;
    for (std::size_t at = 0; at < path.size(); ++at) {
        const char c = path[at];
        if (text::IsGbkLeadByte(static_cast<unsigned char>(c))) {
            ++at;
        } else if (c == '/' || c == native) {
            offsets.push_back(at);
        }
    }
    return offsets;
}

Text ParentDirectory(TextView path) {
    const std::vector<std::size_t> offsets = SeparatorOffsets(path);
    if (offsets.empty()) {
        return {};
    }
    const std::size_t last = offsets.back();
    // "/name" and "C:\name" keep the root's separator.
    const bool isRoot = last == 0 || (last == 2 && path[1] == ':');
    return Text(path.substr(0, isRoot ? last + 1 : last));
}

Text JoinPath(TextView directory, TextView name) {
    if (directory.empty()) {
        return Text(name);
    }
    const std::vector<std::size_t> offsets = SeparatorOffsets(directory);
    Text joined(directory);
    if (offsets.empty() || offsets.back() != directory.size() - 1) {
        joined.push_back(PathSeparator());
    }
    joined.append(name);
    return joined;
}

Text ExecutableDirectory() {
    return ParentDirectory(ExecutablePath());
}

} // namespace tovrik::files
