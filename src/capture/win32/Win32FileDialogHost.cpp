#include "capture/win32/Win32FileDialogHost.h"

#include "text/Encoding.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace tovrik::capture {

namespace {

constexpr std::size_t kNameBufferSize = 8192;

// Program text as UTF-16, without the terminating zero.
std::wstring Wide(TextView text) {
    const Bytes utf16 = text::LocalToWide(text);
    std::wstring result(utf16.size() / 2, L'\0');
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i] = static_cast<wchar_t>(static_cast<std::uint8_t>(utf16[2 * i]) |
                                         (static_cast<std::uint8_t>(utf16[2 * i + 1]) << 8));
    }
    while (!result.empty() && result.back() == L'\0') {
        result.pop_back();
    }
    return result;
}

Text Local(const wchar_t* text) {
    Bytes utf16;
    for (; *text != L'\0'; ++text) {
        utf16 += static_cast<char>(*text & 0xFF);
        utf16 += static_cast<char>((*text >> 8) & 0xFF);
    }
    return text::WideToLocal(utf16);
}

} // namespace

std::optional<Text> Win32FileDialogHost::RunSaveDialog(const FileDialogRequest& request) {
    std::wstring filter;
    for (const auto& [description, pattern] : FilterEntries(request)) {
        filter += Wide(description) + L'\0' + Wide(pattern) + L'\0';
    }
    filter += L'\0';
    std::vector<wchar_t> name(kNameBufferSize, L'\0');
    const std::wstring initial = Wide(request.initialName).substr(0, kNameBufferSize - 1);
    std::copy(initial.begin(), initial.end(), name.begin());
    std::vector<wchar_t> title(kNameBufferSize, L'\0');
    const std::wstring extension = Wide(request.defaultExtension);
    const std::wstring caption = Wide(request.title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrFileTitle = title.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(title.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    // "File must exist" belongs to open dialogs: a save dialog has to accept new names.
    dialog.Flags = request.flags & ~static_cast<DWORD>(OFN_FILEMUSTEXIST);
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return Local(name.data());
}

} // namespace tovrik::capture
