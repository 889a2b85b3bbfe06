// Looks at the Windows side of an end-to-end run from inside the same Wine prefix and prints one
// marker line:
//   tovrik-wine-probe clipboard        CLIPBOARD_BITMAP <width>x<height> | CLIPBOARD_BITMAP none
//   tovrik-wine-probe clipboard-text   CLIPBOARD_TEXT <UTF-8 text, CR and LF as \r and \n>
//   tovrik-wine-probe hotkey MODS VK   HOTKEY free | HOTKEY taken
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Clipboard() {
    if (!OpenClipboard(nullptr)) {
        std::puts("CLIPBOARD_BITMAP none");
        return 1;
    }
    auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof(info), &info) != 0) {
        std::printf("CLIPBOARD_BITMAP %ldx%ld\n", info.bmWidth, info.bmHeight);
    } else {
        std::puts("CLIPBOARD_BITMAP none");
    }
    CloseClipboard();
    return 0;
}

int ClipboardText() {
    std::string utf8;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
                utf8.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
                WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
                utf8.resize(std::strlen(utf8.c_str()));
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    std::string escaped;
    for (const char c : utf8) {
        escaped += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    std::printf("CLIPBOARD_TEXT %s\n", escaped.c_str());
    return 0;
}

int Hotkey(const char* modifiers, const char* key) {
    const auto mods = static_cast<UINT>(std::strtoul(modifiers, nullptr, 0));
    const auto vk = static_cast<UINT>(std::strtoul(key, nullptr, 0));
    if (RegisterHotKey(nullptr, 1, mods, vk)) {
        UnregisterHotKey(nullptr, 1);
        std::puts("HOTKEY free");
    } else {
        std::puts("HOTKEY taken");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    int result = 2;
    if (command == "clipboard") {
        result = Clipboard();
    } else if (command == "clipboard-text") {
        result = ClipboardText();
    } else if (command == "hotkey" && argc > 3) {
        result = Hotkey(argv[2], argv[3]);
    } else {
        std::fputs("usage: tovrik-wine-probe clipboard | clipboard-text | hotkey MODS VK\n", stderr);
    }
    std::fflush(stdout);
    return result;
}
