#include "ui/win32/Win32WindowSystem.h"

#include "ui/win32/FormReport.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/PictureView.h"
#include "ui/win32/WideText.h"

#include <objidl.h>

#include <gdiplus.h>

namespace tovrik::ui::win32 {

namespace {

// The program's icon in its resources.
constexpr WORD kIconResource = 1;
constexpr WORD kApplicationIcon = 32512; // IDI_APPLICATION

HICON LoadProgramIcon(int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    auto* icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, 0));
    return icon != nullptr ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(kApplicationIcon));
}

// The pixel DPI the forms' positions and sizes are laid out for.
constexpr int kLayoutDpi = 96;

// The screen's DPI as the process sees it (per-monitor aware: the system DPI).
int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return kLayoutDpi;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kLayoutDpi;
}

// The message font at the size it has at 96 DPI: the forms' controls have fixed pixel sizes, so a
// font scaled to 150% or 200% would be cut off in them. The forms stay 1:1 in pixels, as the
// overlay does.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, kLayoutDpi, ScreenDpi());
        if (HFONT font = CreateFontIndirectW(&metrics.lfMessageFont)) {
            return font;
        }
    }
    return nullptr;
}

} // namespace

Win32WindowSystem::Win32WindowSystem() {
    m_oleStarted = SUCCEEDED(OleInitialize(nullptr));
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        m_gdiplusToken = 0;
    }
    m_font = CreateMessageFont();
    m_icon = LoadProgramIcon(SM_CXICON);
    m_smallIcon = LoadProgramIcon(SM_CXSMICON);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static_cast<void>(FormWindow::RegisterWindowClass(instance, m_icon, m_smallIcon));
    static_cast<void>(RegisterPictureClass(instance));
}

Win32WindowSystem::~Win32WindowSystem() {
    while (!m_forms.empty()) {
        const std::shared_ptr<FormWindow> form = m_forms.begin()->second;
        m_forms.erase(m_forms.begin());
        if (form->Handle() != nullptr) {
            DestroyWindow(form->Handle());
        }
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    if (m_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    }
    if (m_oleStarted) {
        OleUninitialize();
    }
}

void Win32WindowSystem::DeclareDpiAware() {
    // The manifest has made the process per-monitor aware before it started; this is for a
    // system that read no awareness from it. Per-monitor V2 where the function exists (Windows
    // 10 1703 on): it fails harmlessly when the manifest set the awareness already.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, spelled out for headers that predate it.
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (setContext != nullptr && (setContext(perMonitorV2) || GetLastError() == ERROR_ACCESS_DENIED)) {
        return;
    }
    SetProcessDPIAware();
}

FormId Win32WindowSystem::CreateForm(const FormDecl& form, EventSink& sink) {
    const FormId id = m_nextId++;
    auto window = std::make_shared<FormWindow>(id, form, sink, [this](FormId gone) { m_forms.erase(gone); });
    m_forms.emplace(id, window);
    const HFONT font = m_font != nullptr ? m_font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!window->Create(font, m_icon, m_smallIcon)) {
        m_forms.erase(id);
        return 0;
    }
    return id;
}

void Win32WindowSystem::DestroyForm(FormId form) {
    if (const std::shared_ptr<FormWindow> window = Live(form)) {
        DestroyWindow(window->Handle());
    }
}

void Win32WindowSystem::RunModal(FormId form) {
    const std::shared_ptr<FormWindow> window = Live(form);
    if (!window) {
        return;
    }
    const HWND handle = window->Handle();
    std::vector<HWND> disabled;
    for (const auto& [id, other] : m_forms) {
        const HWND otherHandle = other->Handle();
        if (id != form && otherHandle != nullptr && IsWindowEnabled(otherHandle)) {
            EnableWindow(otherHandle, FALSE);
            disabled.push_back(otherHandle);
        }
    }
    ShowWindow(handle, SW_SHOW);
    SetForegroundWindow(handle);
    MSG message{};
    while (IsWindow(handle)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The loop above ours has to see the quit request too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) {
            break;
        }
        Dispatch(message);
    }
    for (const HWND other : disabled) {
        if (IsWindow(other)) {
            EnableWindow(other, TRUE);
        }
    }
}

void Win32WindowSystem::WaitProcessingEvents(int milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds > 0 ? milliseconds : 0);
    MSG message{};
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            Dispatch(message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

WindowState Win32WindowSystem::GetWindowState(FormId form) const {
    const HWND window = WindowOf(form);
    if (window != nullptr && IsIconic(window)) {
        return WindowState::Minimised;
    }
    if (window != nullptr && IsZoomed(window)) {
        return WindowState::Maximised;
    }
    return WindowState::Normal;
}

void Win32WindowSystem::SetWindowState(FormId form, WindowState state) {
    const HWND window = WindowOf(form);
    // A hidden window stays hidden: showing it is the caller's decision.
    if (window == nullptr || !IsWindowVisible(window) || state == GetWindowState(form)) {
        return;
    }
    ShowWindow(window, state == WindowState::Minimised   ? SW_MINIMIZE
                       : state == WindowState::Maximised ? SW_MAXIMIZE
                                                         : SW_RESTORE);
}

void Win32WindowSystem::Activate(FormId form) {
    const HWND window = WindowOf(form);
    if (window == nullptr) {
        return;
    }
    // Joined to the input of the foreground window's thread, this thread may take the
    // foreground, which a program woken by a hotkey is otherwise refused.
    const DWORD self = GetCurrentThreadId();
    const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = foreground != 0 && foreground != self && AttachThreadInput(self, foreground, TRUE);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    BringWindowToTop(window);
    if (attached) {
        AttachThreadInput(self, foreground, FALSE);
    }
}

void Win32WindowSystem::PopupMenu(FormId form, TextView menu) {
    if (const std::shared_ptr<FormWindow> window = Live(form)) {
        window->PopupMenu(menu);
    }
}

bool Win32WindowSystem::CaptureKeys(FormId form, TextView control) {
    const std::shared_ptr<FormWindow> window = Live(form);
    return window && window->CaptureKeys(control);
}

Text Win32WindowSystem::GetText(FormId form, TextView control) const {
    if (control.empty()) {
        const HWND window = WindowOf(form);
        if (window == nullptr) {
            return {};
        }
        std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        caption.resize(static_cast<std::size_t>(
            std::max(0, GetWindowTextW(window, caption.data(), static_cast<int>(caption.size())))));
        return Narrow(caption);
    }
    const std::shared_ptr<FormWindow> window = Live(form);
    const NativeControl* found = window ? window->Controls().Find(control) : nullptr;
    return found != nullptr ? window->Controls().GetText(*found) : Text();
}

void Win32WindowSystem::SetText(FormId form, TextView control, TextView text) {
    if (control.empty()) {
        if (const HWND window = WindowOf(form)) {
            SetWindowTextW(window, Wide(text).c_str());
        }
    } else if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetText(*found, text);
    }
}

bool Win32WindowSystem::GetChecked(FormId form, TextView control) const {
    const NativeControl* found = ControlOf(form, control);
    return found != nullptr && Live(form)->Controls().GetChecked(*found);
}

void Win32WindowSystem::SetChecked(FormId form, TextView control, bool checked) {
    if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetChecked(*found, checked);
    }
}

bool Win32WindowSystem::GetEnabled(FormId form, TextView control) const {
    if (control.empty()) {
        const HWND window = WindowOf(form);
        return window != nullptr && IsWindowEnabled(window);
    }
    const NativeControl* found = ControlOf(form, control);
    return found != nullptr && Live(form)->Controls().GetEnabled(*found);
}

void Win32WindowSystem::SetEnabled(FormId form, TextView control, bool enabled) {
    if (control.empty()) {
        if (const HWND window = WindowOf(form)) {
            EnableWindow(window, enabled ? TRUE : FALSE);
        }
    } else if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetEnabled(*found, enabled);
    }
}

bool Win32WindowSystem::GetVisible(FormId form, TextView control) const {
    if (control.empty()) {
        const HWND window = WindowOf(form);
        return window != nullptr && IsWindowVisible(window);
    }
    const NativeControl* found = ControlOf(form, control);
    return found != nullptr && Live(form)->Controls().GetVisible(*found);
}

void Win32WindowSystem::SetVisible(FormId form, TextView control, bool visible) {
    if (control.empty()) {
        if (const HWND window = WindowOf(form)) {
            ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
        }
    } else if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetVisible(*found, visible);
    }
}

Rect Win32WindowSystem::GetRect(FormId form, TextView control) const {
    if (control.empty()) {
        RECT frame{};
        const HWND window = WindowOf(form);
        if (window == nullptr || !GetWindowRect(window, &frame)) {
            return {};
        }
        return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
    }
    const NativeControl* found = ControlOf(form, control);
    return found != nullptr ? found->rect : Rect();
}

void Win32WindowSystem::SetRect(FormId form, TextView control, const Rect& rect) {
    if (control.empty()) {
        if (const HWND window = WindowOf(form)) {
            MoveWindow(window, rect.left, rect.top, rect.width, rect.height, TRUE);
        }
    } else if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetRect(*found, rect);
    }
}

void Win32WindowSystem::SetBorderColour(FormId form, TextView control, Colour colour) {
    if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetBorderColour(*found, colour);
    }
}

Bytes Win32WindowSystem::GetPicture(FormId form, TextView control) const {
    const NativeControl* found = ControlOf(form, control);
    return found != nullptr ? found->picture : Bytes();
}

void Win32WindowSystem::SetPicture(FormId form, TextView control, BytesView image) {
    if (NativeControl* found = ControlOf(form, control)) {
        Live(form)->Controls().SetPicture(*found, image);
    }
}

MessageResult Win32WindowSystem::ShowMessage(FormId owner, TextView text, TextView title, const MessageStyle& style) {
    UINT type = style.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (style.icon) {
    case MessageIcon::Information:
        type |= MB_ICONINFORMATION;
        break;
    case MessageIcon::Warning:
        type |= MB_ICONWARNING;
        break;
    case MessageIcon::Error:
        type |= MB_ICONERROR;
        break;
    case MessageIcon::None:
        break;
    }
    if (style.systemModal) {
        type |= MB_SYSTEMMODAL;
    }
    const int answer = MessageBoxW(WindowOf(owner), Wide(text).c_str(), Wide(title).c_str(), type);
    return answer == IDYES ? MessageResult::Yes : answer == IDNO ? MessageResult::No : MessageResult::Ok;
}

HWND Win32WindowSystem::WindowOf(FormId form) const {
    const std::shared_ptr<FormWindow> window = Live(form);
    return window ? window->Handle() : nullptr;
}

HWND Win32WindowSystem::ControlWindow(FormId form, TextView control) const {
    const NativeControl* found = ControlOf(form, control);
    return found != nullptr ? found->window : nullptr;
}

void Win32WindowSystem::Deliver(FormId form, const Event& event) {
    if (const std::shared_ptr<FormWindow> window = Live(form)) {
        window->Raise(event);
    }
}

int Win32WindowSystem::RunMessageLoop() {
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        Dispatch(message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

std::string Win32WindowSystem::Report() const {
    std::string report;
    for (const auto& [id, form] : m_forms) {
        report += ReportForm(*form);
    }
    return report;
}

std::shared_ptr<FormWindow> Win32WindowSystem::Live(FormId form) const {
    const auto found = m_forms.find(form);
    return found != m_forms.end() && found->second->Handle() != nullptr ? found->second : nullptr;
}

NativeControl* Win32WindowSystem::ControlOf(FormId form, TextView control) const {
    const std::shared_ptr<FormWindow> window = Live(form);
    return window ? window->Controls().Find(control) : nullptr;
}

void Win32WindowSystem::Dispatch(MSG& message) const {
    // Tab moves between the controls of a form, as in a dialog.
    const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr) {
        for (const auto& [id, form] : m_forms) {
            if (form->Handle() == root && IsDialogMessageW(root, &message)) {
                return;
            }
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace tovrik::ui::win32
