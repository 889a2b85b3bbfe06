#pragma once

#include "net/HttpTransport.h"

namespace tovrik::net {

// WinInet carrying WebRequest: root, connection and request handles opened and closed within
// one exchange.
class WinInetTransport final : public HttpTransport {
public:
    WinInetTransport() = default;
    ~WinInetTransport() override = default;

    [[nodiscard]] HttpResponse Exchange(const HttpRequest& request) override;
};

} // namespace tovrik::net
