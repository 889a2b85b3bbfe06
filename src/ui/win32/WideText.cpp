#include "ui/win32/WideText.h"

#include "text/Encoding.h"

#include <cstring>

namespace tovrik::ui::win32 {

std::wstring Wide(TextView text) {
    const Bytes utf16 = text::MultiByteToWide(text, text::kCodePageGbk);
    std::wstring wide(utf16.size() / 2, L'\0');
    std::memcpy(wide.data(), utf16.data(), wide.size() * 2);
    // The conversion may carry a terminator; the string has its own.
    while (!wide.empty() && wide.back() == L'\0') {
        wide.pop_back();
    }
    return wide;
}

Text Narrow(std::wstring_view text) {
    const Bytes utf16(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return text::WideToMultiByte(utf16, text::kCodePageGbk);
}

std::string Utf8(TextView text) {
    return text::TextToUtf8(text);
}

} // namespace tovrik::ui::win32
