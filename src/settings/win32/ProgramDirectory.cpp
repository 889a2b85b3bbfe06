#include "settings/ProgramDirectory.h"

#include "files/Files.h"
#include "text/Encoding.h"

#include <windows.h>

#include <string>

namespace tovrik::settings {

namespace {

// %APPDATA%\TovrikOcr; empty when the variable is not set.
Text AppDataDirectory() {
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring value(length, L'\0');
    const DWORD written = GetEnvironmentVariableW(L"APPDATA", value.data(), length);
    if (written == 0 || written >= length) {
        return {};
    }
    value.resize(written);
    while (!value.empty() && (value.back() == L'\\' || value.back() == L'/')) {
        value.pop_back();
    }
    const Text base = text::WideToLocal(BytesView(reinterpret_cast<const char*>(value.data()), value.size() * 2));
    return base.empty() ? Text() : files::JoinPath(base, "TovrikOcr");
}

} // namespace

ProgramDirectoryChoice ChooseProgramDirectory() {
    return ChooseDirectory(files::ExecutableDirectory(), AppDataDirectory);
}

} // namespace tovrik::settings
