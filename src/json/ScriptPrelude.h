#pragma once

#include "text/Types.h"

namespace tovrik::json {

// The script that every document engine runs first: the helper functions the document's
// queries call (get__nodeValue, get__count, get__name_All, get__extend), then JsonScript()
// (json/JsonScript.h).
[[nodiscard]] TextView ScriptPrelude();

} // namespace tovrik::json
