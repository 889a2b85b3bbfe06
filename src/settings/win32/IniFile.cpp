#include "settings/IniFile.h"

#include "files/Files.h"

#include <windows.h>

#include <string>

namespace tovrik::settings {

Text ReadIniItem(TextView section, TextView key, TextView path) {
    const std::string sectionText(section);
    const std::string keyText(key);
    const std::string pathText(path);
    // The function truncates silently; a result that fills the buffer may have been cut, so
    // read again with more room.
    for (std::size_t size = 1024;; size *= 4) {
        std::string buffer(size, '\0');
        const DWORD length = GetPrivateProfileStringA(sectionText.c_str(), keyText.c_str(), "", buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), pathText.c_str());
        if (length + 1 < size || size > kMaxIniValue) {
            buffer.resize(length < kMaxIniValue ? length : kMaxIniValue);
            return buffer;
        }
    }
}

bool WriteIniItem(TextView section, TextView key, TextView value, TextView path) {
    const std::string sectionText(section);
    const std::string keyText(key);
    const std::string valueText(value);
    const std::string pathText(path);
    return WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(), pathText.c_str()) !=
           FALSE;
}

bool ReplaceIniFile(TextView path, BytesView content) {
    const bool written = files::WriteFileAtomic(path, content);
    // The profile functions may keep a parsed copy of the file; drop it so that the next read
    // sees the new text.
    const std::string pathText(path);
    (void)WritePrivateProfileStringA(nullptr, nullptr, nullptr, pathText.c_str());
    return written;
}

} // namespace tovrik::settings
