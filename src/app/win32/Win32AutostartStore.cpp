#include "app/win32/Win32AutostartStore.h"

#include "app/Autostart.h"
#include "ui/win32/WideText.h"

#include <windows.h>

namespace tovrik::app {

namespace {

class RegistryKey {
public:
    RegistryKey(REGSAM access, bool create) {
        const std::wstring path = ui::win32::Wide(kRunKey);
        const LSTATUS status =
            create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, access, nullptr, &m_key, nullptr)
                   : RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &m_key);
        if (status != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~RegistryKey() {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    [[nodiscard]] HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

bool SetValue(HKEY key, TextView name, TextView command) {
    const std::wstring wide = ui::win32::Wide(command);
    return RegSetValueExW(key, ui::win32::Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace

Text RunCommandOf(TextView executablePath) {
    Text command;
    command.reserve(executablePath.size() + 2);
    command.append(1, '"').append(executablePath).append(1, '"');
    return command;
}

bool Win32AutostartStore::SetEntry(TextView name, TextView executablePath) {
    const RegistryKey key(KEY_SET_VALUE, true);
    return key.Get() != nullptr && SetValue(key.Get(), name, RunCommandOf(executablePath));
}

bool Win32AutostartStore::RemoveEntry(TextView name) {
    const RegistryKey key(KEY_SET_VALUE | DELETE, false);
    if (key.Get() == nullptr) {
        return false;
    }
    const std::wstring wideName = ui::win32::Wide(name);
    return RegDeleteValueW(key.Get(), wideName.c_str()) == ERROR_SUCCESS ||
           RegDeleteKeyW(key.Get(), wideName.c_str()) == ERROR_SUCCESS;
}

bool Win32AutostartStore::HasEntry(TextView name) const {
    const RegistryKey key(KEY_QUERY_VALUE, false);
    return key.Get() != nullptr && RegQueryValueExW(key.Get(), ui::win32::Wide(name).c_str(), nullptr, nullptr, nullptr,
                                                    nullptr) == ERROR_SUCCESS;
}

} // namespace tovrik::app
