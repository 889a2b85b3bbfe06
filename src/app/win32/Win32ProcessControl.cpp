#include "app/win32/Win32ProcessControl.h"

#include "app/Restart.h"
#include "files/Files.h"
#include "ui/win32/WideText.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

namespace tovrik::app {

namespace {

constexpr DWORD kInputIdleWaitMs = 1000;

// The 8.3 form of the path, which the batch file can start without quoting trouble; the path
// itself where the volume keeps no short names.
Text ShortPath(TextView path) {
    const std::wstring wide = ui::win32::Wide(path);
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) {
        return Text(path);
    }
    std::wstring shortPath(size, L'\0');
    const DWORD written = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
    if (written == 0 || written >= size) {
        return Text(path);
    }
    shortPath.resize(written);
    return ui::win32::Narrow(shortPath);
}

} // namespace

bool StartProcess(TextView commandLine, TextView workingDirectory, int show) {
    std::wstring command = ui::win32::Wide(commandLine);
    const std::wstring directory = ui::win32::Wide(workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        return false;
    }
    WaitForInputIdle(process.hProcess, kInputIdleWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Win32ProcessControl::Relaunch(TextView programDirectory, TextView executable, int waitCount) {
    const Text script = files::JoinPath(programDirectory, kRestartScriptName);
    if (!files::WriteFile(script, RestartBatchText(ShortPath(executable), waitCount))) {
        return false;
    }
    // The batch file deletes itself by its bare name: it runs in the program directory.
    return StartProcess("cmd.exe /c \"" + script + "\"", programDirectory, SW_HIDE);
}

void Win32ProcessControl::Exit(int code) {
    // Speech may still be playing. Stopped first, it ends cleanly; Wine's audio back end
    // crashes the dying process otherwise.
    mciSendStringW(L"close all", nullptr, 0, nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
}

} // namespace tovrik::app
