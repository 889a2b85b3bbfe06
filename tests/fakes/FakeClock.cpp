#include "fakes/FakeClock.h"

#include "settings/Timestamp.h"

namespace tovrik::fakes {

FakeClock::FakeClock(settings::LocalDateTime start, std::uint64_t tickCount)
    : m_localMilliseconds(settings::ToLocalMilliseconds(start)), m_tickCount(tickCount) {}

settings::LocalDateTime FakeClock::Now() const {
    const settings::LocalDateTime now = settings::FromLocalMilliseconds(m_localMilliseconds);
    AfterReading();
    return now;
}

std::uint64_t FakeClock::TickCount() const {
    const std::uint64_t tickCount = m_tickCount;
    AfterReading();
    return tickCount;
}

void FakeClock::Set(const settings::LocalDateTime& now) {
    m_localMilliseconds = settings::ToLocalMilliseconds(now);
}

void FakeClock::SetTickCount(std::uint64_t tickCount) {
    m_tickCount = tickCount;
}

void FakeClock::Advance(std::int64_t milliseconds) {
    m_localMilliseconds += milliseconds;
    m_tickCount += static_cast<std::uint64_t>(milliseconds);
}

void FakeClock::SetStepPerReading(std::int64_t milliseconds) {
    m_step = milliseconds;
}

void FakeClock::AfterReading() const {
    ++m_readings;
    m_localMilliseconds += m_step;
    m_tickCount += static_cast<std::uint64_t>(m_step);
}

} // namespace tovrik::fakes
