#pragma once

#include "app/TrayHost.h"

#include <windows.h>

#include <shellapi.h>

namespace tovrik::ui::win32 {
class Win32WindowSystem;
}

namespace tovrik::app {

inline constexpr UINT kTrayCallbackMessage = 11685; // 0x2DA5
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO; // 0x17
inline constexpr UINT kTrayBalloonTimeoutMs = 10000;

// The notification-area icon through Shell_NotifyIconW, with the version-2 record (the wide
// one, so the tip shows right whatever the system's code page). Adding the icon hooks the
// owner's window procedure; the hook finds what it needs in window properties of the owner
// ("WinProc", "CallbackMessage", "TaskbarCreatedMessage", "Exec Event") and turns the icon's
// callback message and the shell's "TaskbarCreated" into TrayNotify events of the owner form.
class Win32TrayHost final : public TrayHost {
public:
    explicit Win32TrayHost(ui::win32::Win32WindowSystem& windows);
    ~Win32TrayHost() override;
    Win32TrayHost(const Win32TrayHost&) = delete;
    Win32TrayHost& operator=(const Win32TrayHost&) = delete;

    [[nodiscard]] bool AddIcon(ui::FormId owner, BytesView iconData) override;
    void SetTip(TextView tip) override;
    void RemoveIcon() override;
    void SweepNotificationArea(bool overflow) override;
    // The menu is popped by the program on the right button, as the shell expects.
    void SetMenu(ui::FormId, TextView) override {}
    [[nodiscard]] bool HostPresent() const override { return true; }

    [[nodiscard]] const NOTIFYICONDATAW& Record() const { return m_record; }
    [[nodiscard]] UINT TaskbarCreatedMessage() const { return m_taskbarMessage; }

private:
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Hook(HWND owner);
    void Unhook();
    void Notify(int code);

    ui::win32::Win32WindowSystem& m_windows;
    UINT m_taskbarMessage;
    NOTIFYICONDATAW m_record{};
    ui::FormId m_ownerForm = 0;
    HWND m_owner = nullptr;
    HICON m_ownedIcon = nullptr;
};

// The shell's notification toolbar ("Shell_TrayWnd" > "TrayNotifyWnd" > "SysPager" >
// "ToolbarWindow32") or its overflow window's ("NotifyIconOverflowWindow" >
// "ToolbarWindow32"); null when the shell has none.
[[nodiscard]] HWND NotificationToolbar(bool overflow);

} // namespace tovrik::app
