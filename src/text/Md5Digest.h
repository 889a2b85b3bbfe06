#pragma once

#include "text/Types.h"

#include <array>
#include <optional>

namespace tovrik::text {

using Md5 = std::array<unsigned char, 16>;

// The platform's MD5 (CryptoAPI on Windows, OpenSSL on Linux); nothing when it is unavailable.
[[nodiscard]] std::optional<Md5> Md5Digest(BytesView bytes);

} // namespace tovrik::text
