#pragma once

#include "net/HttpTransport.h"
#include "net/win32/ComApartment.h"
#include "net/win32/ComDispatch.h"

namespace tovrik::net {

// The "WinHttp.WinHttpRequest.5.1" automation object carrying ComWebRequest. The object is
// created on the first exchange and kept with its connection state while the transport lives.
class WinHttpComTransport final : public HttpTransport {
public:
    WinHttpComTransport() = default;
    ~WinHttpComTransport() override = default;

    [[nodiscard]] HttpResponse Exchange(const HttpRequest& request) override;

private:
    // Declared first, so that it is uninitialised after the object has been released.
    ComApartment m_apartment;
    ComDispatch m_object;
};

} // namespace tovrik::net
