#pragma once

#include "text/Types.h"

namespace tovrik::settings {
class Clock;
class SettingsStore;
} // namespace tovrik::settings

namespace tovrik::services {

// The access token kept across runs in the settings file's section "OCR": the token
// ("AccessToken"), when it was stored ("GetTime", 13-digit timestamp) and how long it lives
// ("ExpiresTime", seconds), and whom it was issued by and for ("TokenBaseUrl", the OCR
// address, and "TokenApiKey"). A cache written before the last two items existed names no owner.
class TokenCache {
public:
    TokenCache(const settings::SettingsStore& settings, const settings::Clock& clock)
        : m_settings(settings), m_clock(clock) {}

    [[nodiscard]] Text Token() const;
    // More than one millisecond of its lifetime remains.
    [[nodiscard]] bool IsValid() const;
    // Empty when the cache names no owner.
    [[nodiscard]] Text IssuedBy() const;
    [[nodiscard]] Text IssuedFor() const;
    // A token just received, stored with the time now.
    void Store(TextView token, TextView expiresIn, TextView ocrBase, TextView apiKey) const;

private:
    const settings::SettingsStore& m_settings;
    const settings::Clock& m_clock;
};

} // namespace tovrik::services
