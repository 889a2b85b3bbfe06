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

Text ProgramDirectory() {
    return ChooseProgramDirectory().directory;
}

} // namespace tovrik::settings
