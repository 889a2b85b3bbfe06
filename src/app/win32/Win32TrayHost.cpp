#include "app/win32/Win32TrayHost.h"

#include "ui/win32/WideText.h"
#include "ui/win32/Win32WindowSystem.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

namespace tovrik::app {

namespace {

constexpr const wchar_t* kPreviousProcProperty = L"WinProc";
constexpr const wchar_t* kCallbackProperty = L"CallbackMessage";
constexpr const wchar_t* kTaskbarProperty = L"TaskbarCreatedMessage";
constexpr const wchar_t* kHandlerProperty = L"Exec Event";
constexpr int kTaskbarCreatedCode = 1120;
// A shell that does not answer must not hang the sweep.
constexpr UINT kSweepTimeoutMs = 100;
constexpr int kSweepPitch = 2;
constexpr DWORD kIconResourceVersion = 0x00030000;

HWND Child(HWND parent, const wchar_t* className) {
    return parent != nullptr ? FindWindowExW(parent, nullptr, className, nullptr) : nullptr;
}

} // namespace

HWND NotificationToolbar(bool overflow) {
    if (overflow) {
        return Child(FindWindowW(L"NotifyIconOverflowWindow", nullptr), L"ToolbarWindow32");
    }
    HWND parent = Child(FindWindowW(L"Shell_TrayWnd", nullptr), L"TrayNotifyWnd");
    if (HWND pager = Child(parent, L"SysPager")) {
        parent = pager;
    }
    return Child(parent, L"ToolbarWindow32");
}

Win32TrayHost::Win32TrayHost(ui::win32::Win32WindowSystem& windows)
    : m_windows(windows), m_taskbarMessage(RegisterWindowMessageW(L"TaskbarCreated")) {
    m_record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    m_record.uID = kTrayIconId;
    m_record.uFlags = kTrayFlags;
    m_record.uCallbackMessage = kTrayCallbackMessage;
    m_record.uTimeout = kTrayBalloonTimeoutMs;
}

Win32TrayHost::~Win32TrayHost() {
    Unhook();
    if (m_ownedIcon != nullptr) {
        DestroyIcon(m_ownedIcon);
    }
}

bool Win32TrayHost::AddIcon(ui::FormId owner, BytesView iconData) {
    const HWND window = m_windows.WindowOf(owner);
    if (window == nullptr || !IsWindow(window)) {
        return false;
    }
    if (m_ownedIcon != nullptr) {
        DestroyIcon(std::exchange(m_ownedIcon, nullptr));
    }
    if (!iconData.empty()) {
        Bytes data(iconData);
        m_ownedIcon = CreateIconFromResource(reinterpret_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()),
                                             TRUE, kIconResourceVersion);
    }
    m_record.hIcon =
        m_ownedIcon != nullptr ? m_ownedIcon : reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    m_record.hWnd = window;
    m_ownerForm = owner;
    Hook(window);
    return Shell_NotifyIconW(NIM_ADD, &m_record) != 0;
}

void Win32TrayHost::SetTip(TextView tip) {
    const std::wstring wide = ui::win32::Wide(tip);
    const std::size_t length = std::min(wide.size(), std::size(m_record.szTip) - 1);
    std::wmemcpy(m_record.szTip, wide.data(), length);
    m_record.szTip[length] = L'\0';
    Shell_NotifyIconW(NIM_MODIFY, &m_record);
}

void Win32TrayHost::RemoveIcon() {
    Unhook();
    Shell_NotifyIconW(NIM_DELETE, &m_record);
    m_ownerForm = 0;
}

void Win32TrayHost::SweepNotificationArea(bool overflow) {
    const HWND toolbar = NotificationToolbar(overflow);
    RECT client{};
    if (toolbar == nullptr || !GetClientRect(toolbar, &client)) {
        return;
    }
    // Hovering over an icon whose process has ended makes the shell drop it.
    for (int y = kSweepPitch; y <= client.bottom; y += kSweepPitch) {
        for (int x = kSweepPitch; x <= client.right; x += kSweepPitch) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kSweepTimeoutMs, &result);
        }
    }
}

void Win32TrayHost::Hook(HWND owner) {
    if (m_owner == owner) {
        return;
    }
    Unhook();
    SetPropW(owner, kCallbackProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(kTrayCallbackMessage)));
    SetPropW(owner, kTaskbarProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(m_taskbarMessage)));
    SetPropW(owner, kHandlerProperty, this);
    const auto previous = SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc));
    SetPropW(owner, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous));
    m_owner = owner;
}

void Win32TrayHost::Unhook() {
    const HWND owner = std::exchange(m_owner, nullptr);
    if (owner == nullptr || !IsWindow(owner)) {
        return;
    }
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(owner, kPreviousProcProperty)));
    RemovePropW(owner, kPreviousProcProperty);
    RemovePropW(owner, kCallbackProperty);
    RemovePropW(owner, kTaskbarProperty);
    RemovePropW(owner, kHandlerProperty);
}

void Win32TrayHost::Notify(int code) {
    m_windows.Deliver(m_ownerForm, ui::Event{.kind = ui::EventKind::TrayNotify, .code = code});
}

LRESULT CALLBACK Win32TrayHost::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcProperty));
    auto* host = static_cast<Win32TrayHost*>(GetPropW(window, kHandlerProperty));
    const auto callback = static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropW(window, kCallbackProperty)));
    const auto taskbar = static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropW(window, kTaskbarProperty)));
    if (host != nullptr && message == callback) {
        host->Notify(static_cast<int>(lParam));
        return 0;
    }
    if (host != nullptr && taskbar != 0 && message == taskbar) {
        host->Notify(kTaskbarCreatedCode);
        return 0;
    }
    if (message == WM_NCDESTROY && host != nullptr) {
        host->Unhook();
    }
    return previous != nullptr ? CallWindowProcW(previous, window, message, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
}

} // namespace tovrik::app
