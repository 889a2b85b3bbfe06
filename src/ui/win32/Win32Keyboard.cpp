#include "ui/win32/Win32Keyboard.h"

#include "ui/win32/WideText.h"

#include <windows.h>

namespace tovrik::ui::win32 {

namespace {

constexpr int kNameBufferSize = 256;

} // namespace

Text Win32Keyboard::KeyName(int virtualKey) const {
    const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    wchar_t name[kNameBufferSize] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, kNameBufferSize);
    return length > 0 ? Narrow(std::wstring_view(name, static_cast<std::size_t>(length))) : Text();
}

bool Win32Keyboard::IsKeyDown(int virtualKey) const {
    return GetAsyncKeyState(virtualKey) != 0;
}

} // namespace tovrik::ui::win32
