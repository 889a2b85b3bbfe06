#include "ui/win32/PictureView.h"

#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstring>

namespace tovrik::ui::win32 {

namespace {

constexpr WORD kArrowCursor = 32512; // IDC_ARROW

using namespace Gdiplus::DllExports;

constexpr std::size_t kBmpInfoSizeOffset = 14;
constexpr std::uint32_t kCaptureHeaderSize = 44;
constexpr std::uint32_t kPlainHeaderSize = 40;

// Captured pictures carry a 44-byte info header (the 40-byte header and one colour entry),
// which some decoders refuse. The pixels stay where the file header's offset says, so calling
// the header a plain 40-byte one gives the same picture.
Bytes Decodable(BytesView image) {
    Bytes bytes(image);
    std::uint32_t headerSize = 0;
    if (bytes.size() > kBmpInfoSizeOffset + 4 && bytes.starts_with("BM")) {
        std::memcpy(&headerSize, bytes.data() + kBmpInfoSizeOffset, 4);
        if (headerSize == kCaptureHeaderSize) {
            std::memcpy(bytes.data() + kBmpInfoSizeOffset, &kPlainHeaderSize, 4);
        }
    }
    return bytes;
}

Gdiplus::GpBitmap* Decode(BytesView image) {
    if (image.empty() || image.size() > UINT_MAX) {
        return nullptr;
    }
    const Bytes bytes = Decodable(image);
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (stream == nullptr) {
        return nullptr;
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromStream(stream, &bitmap) != Gdiplus::Ok) {
        bitmap = nullptr;
    }
    stream->Release();
    return bitmap;
}

Gdiplus::GpBitmap* Stored(HWND view) {
    return reinterpret_cast<Gdiplus::GpBitmap*>(GetWindowLongPtrW(view, GWLP_USERDATA));
}

void Replace(HWND view, Gdiplus::GpBitmap* bitmap) {
    if (Gdiplus::GpBitmap* old = Stored(view)) {
        GdipDisposeImage(old);
    }
    SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
}

void Paint(HWND view) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(view, &paint);
    RECT client{};
    GetClientRect(view, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    UINT width = 0;
    UINT height = 0;
    Gdiplus::GpBitmap* bitmap = Stored(view);
    if (bitmap != nullptr && GdipGetImageWidth(bitmap, &width) == Gdiplus::Ok &&
        GdipGetImageHeight(bitmap, &height) == Gdiplus::Ok && width > 0 && height > 0) {
        const double scale =
            std::min(static_cast<double>(client.right) / width, static_cast<double>(client.bottom) / height);
        const INT drawWidth = std::max(1, static_cast<INT>(width * scale));
        const INT drawHeight = std::max(1, static_cast<INT>(height * scale));
        Gdiplus::GpGraphics* graphics = nullptr;
        if (GdipCreateFromHDC(dc, &graphics) == Gdiplus::Ok) {
            GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
            GdipDrawImageRectI(graphics, bitmap, (client.right - drawWidth) / 2, (client.bottom - drawHeight) / 2,
                               drawWidth, drawHeight);
            GdipDeleteGraphics(graphics);
        }
    }
    EndPaint(view, &paint);
}

LRESULT CALLBACK PictureProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(view);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(view, nullptr, FALSE);
        return 0;
    case WM_NCDESTROY:
        Replace(view, nullptr);
        break;
    default:
        break;
    }
    return DefWindowProcW(view, message, wParam, lParam);
}

} // namespace

bool RegisterPictureClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = PictureProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    windowClass.lpszClassName = kPictureClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void ShowPicture(HWND view, BytesView image) {
    Replace(view, Decode(image));
    InvalidateRect(view, nullptr, FALSE);
}

bool HasPicture(HWND view) {
    return Stored(view) != nullptr;
}

} // namespace tovrik::ui::win32
