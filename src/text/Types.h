#pragma once

#include <string>
#include <string_view>

namespace tovrik {

// Program text: bytes in code page 936 (GBK); lengths are byte counts.
using Text = std::string;
using TextView = std::string_view;

// Counted bytes that may hold zero bytes (reply bodies, encoded images, UTF-16 units).
using Bytes = std::string;
using BytesView = std::string_view;

} // namespace tovrik
