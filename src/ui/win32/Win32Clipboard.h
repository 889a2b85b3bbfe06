#pragma once

#include "ui/Clipboard.h"

#include <windows.h>

namespace tovrik::ui::win32 {

// The Windows clipboard: texts as CF_UNICODETEXT (the system offers CF_TEXT from it), pictures
// as a CF_BITMAP of the screen's format. A hidden message window owns what it puts there: a
// clipboard emptied without an owner refuses new data.
class Win32Clipboard final : public Clipboard {
public:
    Win32Clipboard();
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    [[nodiscard]] bool SetText(TextView text) override;
    [[nodiscard]] bool SetImage(const Bitmap& image) override;

private:
    // Opens and empties the clipboard, gives it the data, closes it. The data is freed when
    // the clipboard does not take it.
    [[nodiscard]] bool Put(UINT format, HANDLE data);

    HWND m_owner = nullptr;
};

// A device-dependent bitmap of the screen's format with the picture's pixels; null on failure.
[[nodiscard]] HBITMAP CreateScreenBitmap(const Bitmap& image);

} // namespace tovrik::ui::win32
