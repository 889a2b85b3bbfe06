#include "../Platform.h"

#include <windows.h>

namespace tovrik::capture::test {

bool JpegQualityIsHonoured() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

} // namespace tovrik::capture::test
