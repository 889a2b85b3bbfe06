#pragma once

#include "text/Types.h"

namespace tovrik::settings {
class SettingsStore;
}

namespace tovrik::services {

// Where the web services live: scheme, host and optional port, no trailing slash. Each is an
// item of the settings file's section "Service"; an empty or missing item means the public
// host. Pointing them elsewhere (for example at the local stand-in) changes nothing else: the
// paths, queries and form fields stay those of the public services.
enum class ServiceHost {
    Ocr,             // token and text recognition
    BaiduTranslate,  // signed translation API
    YoudaoTranslate, // plain-text web translation
    Speech,          // text to speech
};

inline constexpr const char* kServiceSection = "Service";

[[nodiscard]] const char* ServiceHostKey(ServiceHost host);
[[nodiscard]] const char* DefaultServiceBase(ServiceHost host);
// Read from the settings file on every call, like every other item.
[[nodiscard]] Text ServiceBase(const settings::SettingsStore& settings, ServiceHost host);

} // namespace tovrik::services
