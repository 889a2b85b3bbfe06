#include "app/win32/Win32InstanceGuard.h"

#include "ui/win32/WideText.h"

namespace tovrik::app {

Win32InstanceGuard::~Win32InstanceGuard() {
    if (m_event != nullptr) {
        CloseHandle(m_event);
    }
}

bool Win32InstanceGuard::Acquire(TextView name) {
    if (m_event != nullptr) {
        return true;
    }
    const std::wstring wideName = ui::win32::Wide(name);
    if (HANDLE existing = OpenEventW(EVENT_ALL_ACCESS, FALSE, wideName.c_str())) {
        CloseHandle(existing);
        return false;
    }
    HANDLE created = CreateEventW(nullptr, FALSE, FALSE, wideName.c_str());
    const DWORD error = GetLastError();
    // Two copies started at the same moment both miss the event when they look for it; the one
    // whose creation finds it already there is the second. An event we may not open belongs to
    // a copy of another user or elevation.
    if (created != nullptr && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(created);
        return false;
    }
    if (created == nullptr && error == ERROR_ACCESS_DENIED) {
        return false;
    }
    m_event = created;
    return true;
}

} // namespace tovrik::app
