#pragma once

#include "text/Types.h"

#include <string>

namespace tovrik::ui::win32 {
class Win32WindowSystem;
}

namespace tovrik {

// What the end-to-end tests read instead of the screen. Compiled into test builds only, and
// active only when the environment variable TOVRIK_TEST_HOOK names a file: every 200 ms, when
// something changed, that file is replaced by the state of every live form and control
// (Win32WindowSystem::Report, UTF-8).
class TestReport {
public:
    explicit TestReport(const ui::win32::Win32WindowSystem& windows);
    ~TestReport();
    TestReport(const TestReport&) = delete;
    TestReport& operator=(const TestReport&) = delete;

    // Replaces the file when the state has changed since the last time.
    void Write();

private:
    const ui::win32::Win32WindowSystem& m_windows;
    Text m_path;
    std::string m_written;
    unsigned long long m_timer = 0;
};

} // namespace tovrik
