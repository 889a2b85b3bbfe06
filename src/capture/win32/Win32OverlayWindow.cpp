#include "capture/win32/Win32OverlayWindow.h"

#include "capture/OverlayInput.h"
#include "ui/win32/WideText.h"

#include <array>

namespace tovrik::capture {

namespace {

constexpr DWORD kOverlayStyle = WS_POPUP | WS_VISIBLE; // 0x90000000
constexpr DWORD kOverlayExStyle = WS_EX_TOOLWINDOW;    // 0x80
constexpr WORD kArrowCursor = static_cast<WORD>(Cursor::Arrow);

// A dialog template without controls, caption, menu or class: the overlay sets its own style
// and position when it initialises.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header{WS_POPUP, kOverlayExStyle, 0, 0, 0, 0, 0};
    std::array<WORD, 3> trailer{}; // no menu, the standard class, an empty title
};

Point PointerOf(LPARAM lParam) {
    // Window coordinates of a window at the virtual screen's corner: never negative.
    return {static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF)};
}

} // namespace

bool Win32OverlayWindow::RunModal(const Rect& area, const OverlayCanvas& canvas, OverlayInput& input) {
    // GDI shows frames from our memory only.
    const ui::Bitmap* frame = canvas.FramePixels();
    if (m_window != nullptr || frame == nullptr || frame->Empty() || frame->width != area.Width() ||
        frame->height != area.Height()) {
        return false;
    }
    m_area = area;
    m_frame = frame;
    m_input = &input;
    m_closing = false;
    m_cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    static const EmptyDialogTemplate kTemplate{};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &kTemplate.header, nullptr, DialogProc,
                                                   reinterpret_cast<LPARAM>(this));
    m_window = nullptr;
    m_frame = nullptr;
    m_input = nullptr;
    return result != -1;
}

void Win32OverlayWindow::Close() {
    m_closing = true;
    if (m_window != nullptr) {
        EndDialog(m_window, 0);
    }
}

void Win32OverlayWindow::Present(const Rect& area) {
    if (m_window == nullptr) {
        return;
    }
    if (HDC dc = GetDC(m_window)) {
        Blit(dc, area);
        ReleaseDC(m_window, dc);
    }
}

void Win32OverlayWindow::SetCursor(Cursor cursor) {
    m_cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(cursor)));
    ::SetCursor(m_cursor);
}

void Win32OverlayWindow::ReleaseMouseCapture() {
    ReleaseCapture();
}

int Win32OverlayWindow::ShowMenu(const std::vector<MenuItem>& items) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return 0;
    }
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED),
                        static_cast<UINT_PTR>(item.id), ui::win32::Wide(item.label).c_str());
        }
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, pointer.x, pointer.y, 0, m_window, nullptr));
    DestroyMenu(menu);
    return chosen;
}

std::uintptr_t Win32OverlayWindow::NativeHandle() const {
    return reinterpret_cast<std::uintptr_t>(m_window);
}

void Win32OverlayWindow::DrawText(ui::Bitmap& target, const Rect& box, TextView text) {
    m_text.DrawText(target, box, text);
}

INT_PTR CALLBACK Win32OverlayWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32OverlayWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->Initialise(window);
        return TRUE;
    }
    auto* self = reinterpret_cast<Win32OverlayWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    LRESULT result = 0;
    if (self == nullptr || !self->OnMessage(message, wParam, lParam, result)) {
        return FALSE;
    }
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

void Win32OverlayWindow::Initialise(HWND window) {
    m_window = window;
    // Whatever a template brings along goes: the overlay is one picture.
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;) {
        const HWND next = GetWindow(child, GW_HWNDNEXT);
        DestroyWindow(child);
        child = next;
    }
    SetWindowTextW(window, L"");
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(kOverlayStyle));
    SetWindowLongPtrW(window, GWL_EXSTYLE, kOverlayExStyle);
    SetWindowPos(window, HWND_TOPMOST, m_area.left, m_area.top, m_area.Width(), m_area.Height(), SWP_FRAMECHANGED);
    SetForegroundWindow(window);
    SetFocus(window);
    if (m_closing) {
        // Asked to close before the window existed.
        EndDialog(window, 0);
    }
}

bool Win32OverlayWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& resultOut) {
    switch (message) {
    case WM_LBUTTONDOWN:
        m_input->OnLeftButtonDown(PointerOf(lParam));
        return true;
    case WM_MOUSEMOVE:
        m_input->OnMouseMove(PointerOf(lParam));
        return true;
    case WM_LBUTTONUP:
        m_input->OnLeftButtonUp(PointerOf(lParam));
        return true;
    case WM_LBUTTONDBLCLK:
        m_input->OnLeftDoubleClick(PointerOf(lParam));
        return true;
    case WM_RBUTTONUP:
        m_input->OnRightButtonUp(PointerOf(lParam));
        return true;
    case WM_KEYUP:
        m_input->OnKeyUp(static_cast<int>(wParam));
        return true;
    case WM_SETCURSOR:
        ::SetCursor(m_cursor);
        resultOut = TRUE;
        return true;
    case WM_ERASEBKGND:
        resultOut = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(m_window, &paint);
        Blit(dc, {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom});
        EndPaint(m_window, &paint);
        return true;
    }
    case WM_CLOSE:
        if (m_closing) {
            EndDialog(m_window, 0);
        } else {
            m_input->OnCloseRequest();
        }
        return true;
    default:
        return false;
    }
}

void Win32OverlayWindow::Blit(HDC dc, const Rect& area) const {
    if (m_frame == nullptr) {
        return;
    }
    const Rect clip = area.Intersected({0, 0, m_frame->width, m_frame->height});
    if (clip.IsEmpty()) {
        return;
    }
    // The rows of the area alone, described as a whole top-down picture: with the source rectangle
    // covering every row, top-down and bottom-up readings of its y cannot differ.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_frame->width;
    info.bmiHeader.biHeight = -clip.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint8_t* rows = m_frame->pixels.data() + static_cast<std::size_t>(clip.top) * m_frame->Stride();
    StretchDIBits(dc, clip.left, clip.top, clip.Width(), clip.Height(), clip.left, 0, clip.Width(), clip.Height(), rows,
                  &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace tovrik::capture
