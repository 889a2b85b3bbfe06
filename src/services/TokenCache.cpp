#include "services/TokenCache.h"

#include "settings/SettingsStore.h"
#include "settings/Timestamp.h"

#include <cstdint>

namespace tovrik::services {
namespace {

constexpr TextView kSection = "OCR";

// The leading decimal digits of a settings item; empty or non-numeric text gives 0.
[[nodiscard]] std::int64_t LeadingInteger(TextView text) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 18 && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

Text TokenCache::Token() const {
    return m_settings.ReadItem(kSection, "AccessToken");
}

bool TokenCache::IsValid() const {
    const auto getTime = LeadingInteger(m_settings.ReadItem(kSection, "GetTime"));
    const auto expiresIn = LeadingInteger(m_settings.ReadItem(kSection, "ExpiresTime"));
    const double deadline = static_cast<double>(getTime) + static_cast<double>(expiresIn) * 1000.0;
    const double now = static_cast<double>(LeadingInteger(settings::TimestampText(m_clock)));
    return (deadline - now) - 1.0 > 0.0000001;
}

Text TokenCache::IssuedBy() const {
    return m_settings.ReadItem(kSection, "TokenBaseUrl");
}

Text TokenCache::IssuedFor() const {
    return m_settings.ReadItem(kSection, "TokenApiKey");
}

void TokenCache::Store(TextView token, TextView expiresIn, TextView ocrBase, TextView apiKey) const {
    m_settings.WriteItem(kSection, "AccessToken", token);
    m_settings.WriteItem(kSection, "ExpiresTime", expiresIn);
    m_settings.WriteItem(kSection, "GetTime", settings::TimestampText(m_clock));
    m_settings.WriteItem(kSection, "TokenBaseUrl", ocrBase);
    m_settings.WriteItem(kSection, "TokenApiKey", apiKey);
}

} // namespace tovrik::services
