#include "ConsoleOutput.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace tovrik {

namespace {

bool Usable(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void UseParentConsole() {
    const bool outUsable = Usable(STD_OUTPUT_HANDLE);
    const bool errUsable = Usable(STD_ERROR_HANDLE);
    if ((outUsable && errUsable) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    // Redirected streams keep their files or pipes; the others go to the console.
    if (!outUsable && std::freopen("CONOUT$", "w", stdout) != nullptr) {
        std::cout.clear();
    }
    if (!errUsable && std::freopen("CONOUT$", "w", stderr) != nullptr) {
        std::cerr.clear();
    }
}

} // namespace tovrik
