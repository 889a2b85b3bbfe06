#include "text/CodePage.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

namespace tovrik::text::codepage {

// Both directions ask for the size first and convert into a zero-filled buffer of that size;
// flags 0 and no default character leave replacement to the system.
Bytes ToWide(BytesView bytes, unsigned codePage) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    const int written = MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units);
    if (written <= 0) {
        return {};
    }
    return Bytes(reinterpret_cast<const char*>(wide.data()), static_cast<std::size_t>(written) * 2);
}

Bytes FromWide(BytesView utf16, unsigned codePage) {
    const std::size_t units = utf16.size() / 2;
    if (units == 0 || units > INT_MAX) {
        return {};
    }
    // A copy, because the bytes of a view need not be aligned for wide characters.
    std::wstring wide(units, L'\0');
    std::memcpy(wide.data(), utf16.data(), units * 2);
    const int length = static_cast<int>(units);
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    Bytes bytes(static_cast<std::size_t>(size), '\0');
    const int written = WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(), size, nullptr, nullptr);
    if (written <= 0) {
        return {};
    }
    bytes.resize(static_cast<std::size_t>(written));
    return bytes;
}

} // namespace tovrik::text::codepage
