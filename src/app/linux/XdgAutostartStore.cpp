#include "app/linux/XdgAutostartStore.h"

#include "app/Autostart.h"
#include "files/Files.h"
#include "text/Encoding.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace tovrik::app {

namespace {

std::string ConfigHome() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
        return config;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config";
}

} // namespace

Text XdgAutostartStore::EntryPath(TextView name) {
    const Text directory = files::JoinPath(text::Utf8ToText(ConfigHome()), "autostart");
    return files::JoinPath(directory, Text(name) + ".desktop");
}

bool XdgAutostartStore::SetEntry(TextView name, TextView executablePath) {
    const Text path = EntryPath(name);
    const Text directory = path.substr(0, path.rfind(files::PathSeparator()));
    return files::CreateDirectories(directory) &&
           files::WriteFileAtomic(path, text::TextToUtf8(DesktopEntryText(executablePath)));
}

bool XdgAutostartStore::RemoveEntry(TextView name) {
    const Text path = EntryPath(name);
    return !files::FileExists(path) || files::RemoveFile(path);
}

bool XdgAutostartStore::HasEntry(TextView name) const {
    return files::FileExists(EntryPath(name));
}

} // namespace tovrik::app
