#include "settings/Timestamp.h"

#include <string>

namespace tovrik::settings {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kLocalEpochOffset = 8 * 3600; // 1970-01-01 08:00:00

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    return value / divisor - (value % divisor != 0 && (value < 0) != (divisor < 0) ? 1 : 0);
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year += FloorDivide(month - 1, 12);
    month -= 12 * FloorDivide(month - 1, 12);
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

LocalDateTime CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = FloorDivide(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    LocalDateTime date;
    date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

std::int64_t LocalSeconds(const LocalDateTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + std::int64_t{time.hour} * 3600 +
           std::int64_t{time.minute} * 60 + time.second;
}

Text PaddedRight(Text text, std::size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), '0');
    }
    return text;
}

} // namespace

std::int64_t SecondsSinceLocalEpoch(const LocalDateTime& time) {
    return LocalSeconds(time) - kLocalEpochOffset;
}

Text TimestampText(const Clock& clock, bool tenDigits) {
    const LocalDateTime now = clock.Now();
    Text milliseconds = std::to_string(now.millisecond);
    milliseconds.insert(0, milliseconds.size() < 3 ? 3 - milliseconds.size() : 0, '0');
    const Text text = std::to_string(SecondsSinceLocalEpoch(now)) + milliseconds;
    return tenDigits ? PaddedRight(text.substr(0, 10), 10) : PaddedRight(text, 13);
}

Text FileTimestamp(const Clock& clock) {
    Text seconds = std::to_string(SecondsSinceLocalEpoch(clock.Now()));
    seconds.insert(0, seconds.size() < 10 ? 10 - seconds.size() : 0, '0');
    return seconds.substr(0, 10);
}

std::int64_t ToLocalMilliseconds(const LocalDateTime& time) {
    return LocalSeconds(time) * 1000 + time.millisecond;
}

LocalDateTime FromLocalMilliseconds(std::int64_t milliseconds) {
    const std::int64_t seconds = FloorDivide(milliseconds, 1000);
    const std::int64_t days = FloorDivide(seconds, kSecondsPerDay);
    const std::int64_t secondOfDay = seconds - days * kSecondsPerDay;
    LocalDateTime time = CivilFromDays(days);
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    time.millisecond = static_cast<int>(milliseconds - seconds * 1000);
    return time;
}

} // namespace tovrik::settings
