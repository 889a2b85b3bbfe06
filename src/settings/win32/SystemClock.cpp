#include "settings/SystemClock.h"

#include <windows.h>

namespace tovrik::settings {

LocalDateTime SystemClock::Now() const {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, local.wMilliseconds};
}

// The 64-bit count does not wrap after 49.7 days as GetTickCount does.
std::uint64_t SystemClock::TickCount() const {
    return GetTickCount64();
}

} // namespace tovrik::settings
