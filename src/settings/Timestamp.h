#pragma once

#include "settings/Clock.h"
#include "text/Types.h"

#include <cstdint>

namespace tovrik::settings {

// Whole seconds from the local date-time 1970-01-01 08:00:00 to the given local date-time, by
// the calendar alone (no time zone, no daylight saving). On a UTC+8 machine this is Unix time:
// local 2020-12-07 14:07:14 gives 1607321234.
[[nodiscard]] std::int64_t SecondsSinceLocalEpoch(const LocalDateTime& time);

// The millisecond timestamp of the token cache and the translation signature: the seconds
// followed by the milliseconds as three digits, padded with "0" at the end to 13 characters;
// with tenDigits, the first 10 characters of that (padded to 10). Seconds and milliseconds come
// from one reading of the clock, so they never straddle a second boundary.
[[nodiscard]] Text TimestampText(const Clock& clock, bool tenDigits = false);

// The screenshot file name stem: the seconds, left-padded with "0" to 10 characters, first 10
// characters.
[[nodiscard]] Text FileTimestamp(const Clock& clock);

// Local date-time arithmetic for clocks that move a date-time by hand: milliseconds since the
// local date-time 1970-01-01 00:00:00.000, and back. Out-of-range fields carry over.
[[nodiscard]] std::int64_t ToLocalMilliseconds(const LocalDateTime& time);
[[nodiscard]] LocalDateTime FromLocalMilliseconds(std::int64_t milliseconds);

} // namespace tovrik::settings
