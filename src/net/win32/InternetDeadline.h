#pragma once

#include <windows.h>

#include <wininet.h>

#include <mutex>
#include <vector>

namespace tovrik::net {

// Holds the handles of one WinInet exchange and closes them from a timer thread once its
// deadline has passed: a synchronous call waiting on the network returns when its handle is
// closed, and every later call on it fails at once. Whatever is still open when the object goes
// is closed then, the newest handle first.
class InternetDeadline {
public:
    explicit InternetDeadline(int deadlineMs);
    InternetDeadline(const InternetDeadline&) = delete;
    InternetDeadline& operator=(const InternetDeadline&) = delete;
    ~InternetDeadline();

    // Takes the handle over and hands it back for use; null when it is null or the deadline has
    // passed already (it is closed then).
    [[nodiscard]] HINTERNET Adopt(HINTERNET handle);
    // Also true past the deadline before the timer has run.
    [[nodiscard]] bool Passed() const;

private:
    static void CALLBACK OnDeadline(void* self, BOOLEAN timerFired);
    void CloseAll();

    mutable std::mutex m_mutex;
    std::vector<HINTERNET> m_handles;
    const ULONGLONG m_deadlineTick;
    bool m_passed = false;
    HANDLE m_timer = nullptr;
};

} // namespace tovrik::net
