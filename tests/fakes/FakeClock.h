#pragma once

#include "settings/Clock.h"

#include <cstdint>

namespace tovrik::fakes {

// A clock that tests move by hand. Now() gives the set local date-time and TickCount() the set
// count; Advance moves both together, carrying over seconds, days, months and years. With a
// step per reading, every reading moves time on afterwards, for code that waits on the clock.
class FakeClock final : public settings::Clock {
public:
    // Local 2020-12-07 14:07:14.000: on a UTC+8 machine, Unix time 1607321234.
    static constexpr settings::LocalDateTime kDefaultStart{2020, 12, 7, 14, 7, 14, 0};

    explicit FakeClock(settings::LocalDateTime start = kDefaultStart, std::uint64_t tickCount = 1000000);

    [[nodiscard]] settings::LocalDateTime Now() const override;
    [[nodiscard]] std::uint64_t TickCount() const override;

    void Set(const settings::LocalDateTime& now);
    void SetTickCount(std::uint64_t tickCount);
    void Advance(std::int64_t milliseconds);
    void SetStepPerReading(std::int64_t milliseconds);

    // How often Now() and TickCount() were read.
    [[nodiscard]] int Readings() const { return m_readings; }

private:
    void AfterReading() const;

    mutable std::int64_t m_localMilliseconds = 0;
    mutable std::uint64_t m_tickCount = 0;
    mutable int m_readings = 0;
    std::int64_t m_step = 0;
};

} // namespace tovrik::fakes
