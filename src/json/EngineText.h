#pragma once

#include "text/Types.h"

#include <string_view>

// Text at the boundary of the script engine. Program text is code page 936; the engine keeps
// strings as UTF-8 in which characters outside the basic plane may also appear as two encoded
// surrogate halves (CESU-8), the way escapes such as "\ud83d\ude00" leave them.
namespace tovrik::json {

[[nodiscard]] Bytes ToEngineText(TextView text);
// Malformed sequences become U+FFFD; characters that code page 936 lacks become its default
// character. A zero character ends the text, as it ends every program text.
[[nodiscard]] Text FromEngineText(std::string_view engineText);

} // namespace tovrik::json
