#pragma once

#include "text/Types.h"

// The pieces of an HTTP address that the first client connects to. A missing scheme means
// "http://".
namespace tovrik::net {

// Lowercased host, with or without its ":port".
[[nodiscard]] Text UrlHost(TextView url, bool keepPort = false);
// The explicit port, else 443 for https and 80 otherwise; 0 when the port is not a number.
[[nodiscard]] int UrlPort(TextView url);
// Everything from the first "/" after the host, query included; "/" when there is none.
[[nodiscard]] Text UrlPath(TextView url);

} // namespace tovrik::net
