#include "net/win32/InternetDeadline.h"

namespace tovrik::net {

InternetDeadline::InternetDeadline(int deadlineMs)
    : m_deadlineTick(GetTickCount64() + static_cast<ULONGLONG>(deadlineMs > 0 ? deadlineMs : 1)) {
    // Without a timer the exchange is still bounded between reads (see Passed), only a wait
    // inside one call then runs to WinInet's own time-outs.
    if (!CreateTimerQueueTimer(&m_timer, nullptr, &InternetDeadline::OnDeadline, this,
                               static_cast<DWORD>(deadlineMs > 0 ? deadlineMs : 1), 0, WT_EXECUTEONLYONCE)) {
        m_timer = nullptr;
    }
}

InternetDeadline::~InternetDeadline() {
    if (m_timer != nullptr) {
        // INVALID_HANDLE_VALUE: returns only once a callback under way has finished.
        DeleteTimerQueueTimer(nullptr, m_timer, INVALID_HANDLE_VALUE);
    }
    CloseAll();
}

HINTERNET InternetDeadline::Adopt(HINTERNET handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    const std::lock_guard lock(m_mutex);
    if (m_passed) {
        InternetCloseHandle(handle);
        return nullptr;
    }
    m_handles.push_back(handle);
    return handle;
}

bool InternetDeadline::Passed() const {
    const std::lock_guard lock(m_mutex);
    return m_passed || GetTickCount64() >= m_deadlineTick;
}

void CALLBACK InternetDeadline::OnDeadline(void* self, BOOLEAN) {
    auto* deadline = static_cast<InternetDeadline*>(self);
    {
        const std::lock_guard lock(deadline->m_mutex);
        deadline->m_passed = true;
    }
    deadline->CloseAll();
}

void InternetDeadline::CloseAll() {
    const std::lock_guard lock(m_mutex);
    for (auto it = m_handles.rbegin(); it != m_handles.rend(); ++it) {
        InternetCloseHandle(*it);
    }
    m_handles.clear();
}

} // namespace tovrik::net
