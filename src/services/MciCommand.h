#pragma once

#include "text/Types.h"

#include <optional>

namespace tovrik::services {

// One MCI command string split into its parts: verb, device (a file path or an alias, double
// quotes removed) and the flags the program uses. Keywords are case-insensitive; the verb is
// returned in lower case.
struct MciCommand {
    Text verb;
    Text device;
    Text alias;
    bool wait = false;
};

// Empty when the text is not a well-formed command (no verb, unclosed quote, "alias" without a
// name, an unknown keyword).
[[nodiscard]] std::optional<MciCommand> ParseMciCommand(TextView command);
// MCI names (verbs, keywords, aliases) compare without regard to ASCII case.
[[nodiscard]] Text MciLower(TextView name);

// MCI error numbers that the Linux player reports for the commands it knows.
inline constexpr unsigned kMciUnrecognizedKeyword = 259;
inline constexpr unsigned kMciUnrecognizedCommand = 261;
inline constexpr unsigned kMciHardware = 262;
inline constexpr unsigned kMciInvalidDeviceName = 263;
inline constexpr unsigned kMciFileNotFound = 275;
inline constexpr unsigned kMciDuplicateAlias = 289;

} // namespace tovrik::services
