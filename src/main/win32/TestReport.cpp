#include "TestReport.h"

#include "files/Files.h"
#include "ui/win32/WideText.h"
#include "ui/win32/Win32WindowSystem.h"

#include <windows.h>

#ifndef TOVRIK_TEST_HOOK
#define TOVRIK_TEST_HOOK 0
#endif

namespace tovrik {

namespace {

constexpr UINT kReportPeriodMs = 200;

// Thread timers carry no context: the one report of the process.
TestReport* g_report = nullptr;

Text HookPath() {
    if constexpr (TOVRIK_TEST_HOOK == 0) {
        return {};
    }
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TOVRIK_TEST_HOOK", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? ui::win32::Narrow(std::wstring_view(value, length)) : Text();
}

void CALLBACK OnReportTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_report != nullptr) {
        g_report->Write();
    }
}

} // namespace

TestReport::TestReport(const ui::win32::Win32WindowSystem& windows) : m_windows(windows), m_path(HookPath()) {
    if (m_path.empty() || g_report != nullptr) {
        return;
    }
    g_report = this;
    m_timer = SetTimer(nullptr, 0, kReportPeriodMs, OnReportTimer);
}

TestReport::~TestReport() {
    if (g_report == this) {
        KillTimer(nullptr, static_cast<UINT_PTR>(m_timer));
        g_report = nullptr;
    }
}

void TestReport::Write() {
    std::string report = m_windows.Report();
    if (report != m_written && files::WriteFileAtomic(m_path, report)) {
        m_written = std::move(report);
    }
}

} // namespace tovrik
