#include "settings/ProgramDirectory.h"

#include "files/Files.h"
#include "settings/linux/UserDataDirectory.h"
#include "text/Encoding.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace tovrik::settings {

namespace {

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/tmp";
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

} // namespace

Text UserDataDirectory() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const std::string base =
        dataHome != nullptr && dataHome[0] == '/' ? std::string(dataHome) : HomeDirectory() + "/.local/share";
    // Environment paths are UTF-8; paths inside the program are program text.
    const Text directory = files::JoinPath(text::Utf8ToText(WithoutTrailingSlashes(base)), kUserDataFolderName);
    (void)files::CreateDirectories(directory);
    return directory;
}

ProgramDirectoryChoice ChooseProgramDirectory() {
    const Text executableDirectory = files::ExecutableDirectory();
    if (IsInstalledBinFolder(executableDirectory)) {
        const Text user = UserDataDirectory();
        if (files::DirectoryExists(user)) {
            return {user, {}};
        }
    }
    return ChooseDirectory(executableDirectory, UserDataDirectory);
}

} // namespace tovrik::settings
