#include "ui/win32/Win32Clipboard.h"

#include "ui/win32/WideText.h"

#include <cstring>

namespace tovrik::ui::win32 {

namespace {

// Another program may hold the clipboard for a moment.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 20;

} // namespace

Win32Clipboard::Win32Clipboard()
    : m_owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr)) {}

Win32Clipboard::~Win32Clipboard() {
    if (m_owner != nullptr) {
        DestroyWindow(m_owner);
    }
}

bool Win32Clipboard::SetText(TextView text) {
    const std::wstring wide = Wide(text);
    const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return false;
    }
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, wide.c_str(), size);
    GlobalUnlock(memory);
    if (!Put(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

bool Win32Clipboard::SetImage(const Bitmap& image) {
    HBITMAP bitmap = CreateScreenBitmap(image);
    if (bitmap == nullptr) {
        return false;
    }
    if (!Put(CF_BITMAP, bitmap)) {
        DeleteObject(bitmap);
        return false;
    }
    return true;
}

bool Win32Clipboard::Put(UINT format, HANDLE data) {
    bool open = false;
    for (int attempt = 0; attempt < kOpenAttempts && !open; ++attempt) {
        open = OpenClipboard(m_owner) != 0;
        if (!open) {
            Sleep(kOpenRetryMs);
        }
    }
    if (!open) {
        return false;
    }
    const bool put = EmptyClipboard() && SetClipboardData(format, data) != nullptr;
    CloseClipboard();
    return put;
}

HBITMAP CreateScreenBitmap(const Bitmap& image) {
    if (image.Empty() || image.pixels.size() < image.Stride() * static_cast<std::size_t>(image.height)) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return nullptr;
    }
    HBITMAP bitmap = CreateCompatibleBitmap(screen, image.width, image.height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top-down, as the picture holds its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (bitmap != nullptr && SetDIBits(screen, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(), &info,
                                       DIB_RGB_COLORS) != image.height) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}

} // namespace tovrik::ui::win32
