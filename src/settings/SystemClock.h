#pragma once

#include "settings/Clock.h"

namespace tovrik::settings {

// The machine's clock: local time with milliseconds, and a monotonic millisecond count.
class SystemClock final : public Clock {
public:
    [[nodiscard]] LocalDateTime Now() const override;
    [[nodiscard]] std::uint64_t TickCount() const override;
};

} // namespace tovrik::settings
