#include "settings/IniFile.h"

#include "files/Files.h"
#include "settings/IniText.h"
#include "text/Encoding.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tovrik::settings {

namespace {

// Windows refuses to write a file marked read-only, even for administrators; a file without
// any write permission is the same mark here, also when we run as root.
bool IsReadOnly(TextView path) {
    const Bytes nativePath = text::TextToUtf8(path);
    struct stat status {};
    if (::stat(nativePath.c_str(), &status) != 0) {
        return false;
    }
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(nativePath.c_str(), W_OK) != 0;
}

} // namespace

Text ReadIniItem(TextView section, TextView key, TextView path) {
    const auto file = files::ReadFile(path, kMaxIniFileSize);
    if (!file) {
        return {};
    }
    Text value = IniLookup(*file, section, key).value_or(Text());
    if (value.size() > kMaxIniValue) {
        value.resize(kMaxIniValue);
    }
    return value;
}

bool WriteIniItem(TextView section, TextView key, TextView value, TextView path) {
    const bool exists = files::FileExists(path);
    const auto existing = files::ReadFile(path, kMaxIniFileSize);
    if (!existing && exists) {
        return false; // unreadable or too large: leave it alone rather than replace it
    }
    return ReplaceIniFile(path, IniUpdate(existing.value_or(Bytes()), section, key, value));
}

bool ReplaceIniFile(TextView path, BytesView content) {
    if (files::FileExists(path) && IsReadOnly(path)) {
        return false;
    }
    return files::WriteFileAtomic(path, content);
}

} // namespace tovrik::settings
