#pragma once

#include "text/Types.h"

namespace tovrik::json {

// A JSON implementation for engines that lack one: defines JSON, JSON.stringify and JSON.parse
// only where missing, plus toJSONString and parseJSON. Written for ES3 engines. Its parse
// never evaluates the text: a strict parser builds the value and rejects anything that is not
// JSON as a whole, with a SyntaxError.
[[nodiscard]] TextView JsonScript();

// Its two halves, each a script of its own, run in this order: JSON, the toJSON methods and
// JSON.stringify; then JSON.parse, toJSONString and parseJSON.
[[nodiscard]] TextView JsonStringifyScript();
[[nodiscard]] TextView JsonParseScript();

} // namespace tovrik::json
