#include "settings/ProgramDirectory.h"

#include "files/Files.h"

namespace tovrik::settings {

ProgramDirectoryChoice ChooseDirectory(TextView executableDirectory, const std::function<Text()>& fallback) {
    if (files::IsWritableDirectory(executableDirectory)) {
        return {Text(executableDirectory), {}};
    }
    const Text userDirectory = fallback();
    if (userDirectory.empty() || !files::CreateDirectories(userDirectory)) {
        return {Text(executableDirectory), {}};
    }
    return {userDirectory, Text(executableDirectory)};
}

bool IsInstalledBinFolder(TextView executableDirectory) {
    TextView folder = executableDirectory;
    while (folder.size() > 1 && folder.back() == files::PathSeparator()) {
        folder.remove_suffix(1);
    }
    const size_t separator = folder.rfind(files::PathSeparator());
    if (separator == TextView::npos || folder.substr(separator + 1) != "bin") {
        return false;
    }
    const TextView prefix = folder.substr(0, separator);
    return files::DirectoryExists(files::JoinPath(prefix.empty() ? TextView(folder.substr(0, 1)) : prefix, "share"));
}

Text ProgramDirectory() {
    return ChooseProgramDirectory().directory;
}

} // namespace tovrik::settings
