#pragma once

#include "text/Types.h"

namespace tovrik::app {

// The two 28x28 PNG pictures shown beside a hotkey box: registered, or refused / no hotkey.
[[nodiscard]] BytesView OkPicture();
[[nodiscard]] BytesView FailPicture();

} // namespace tovrik::app
