#pragma once

#include <cstdint>

namespace tovrik::settings {

// Local calendar time with milliseconds, as the program shows and stores it.
struct LocalDateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Time source of the program; tests substitute a scripted one.
class Clock {
public:
    virtual ~Clock() = default;
    // One reading of the local date and time, milliseconds included.
    [[nodiscard]] virtual LocalDateTime Now() const = 0;
    // Milliseconds since an arbitrary start, for elapsed-time measurements.
    [[nodiscard]] virtual std::uint64_t TickCount() const = 0;
};

} // namespace tovrik::settings
