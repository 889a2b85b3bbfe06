#include "app/win32/Win32Shell.h"

#include "app/win32/Win32ProcessControl.h"
#include "ui/win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace tovrik::app {

Text RevealCommandLine(TextView file) {
    return "Explorer /select, \"" + Text(file) + "\"";
}

void Win32Shell::OpenFolder(TextView folder) {
    ShellExecuteW(nullptr, L"explore", ui::win32::Wide(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Shell::RevealFile(TextView file) {
    static_cast<void>(StartProcess(RevealCommandLine(file), {}, SW_SHOWNORMAL));
}

void Win32Shell::OpenUrl(TextView url) {
    ShellExecuteW(nullptr, L"open", ui::win32::Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace tovrik::app
