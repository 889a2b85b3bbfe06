#pragma once

#include "net/HttpTransport.h"
#include "net/win32/ComApartment.h"
#include "net/win32/ComDispatch.h"

#include <functional>

namespace tovrik::net {

// The "WinHttp.WinHttpRequest.5.1" automation object carrying ComWebRequest. The object is
// created on the first exchange and kept with its connection state while the transport lives.
class WinHttpComTransport final : public HttpTransport {
public:
    // afterSend runs between sending the request and waiting for the reply; a pause there lets
    // the reply come in before the wait, as it does on a busy machine.
    explicit WinHttpComTransport(std::function<void()> afterSend = {});
    ~WinHttpComTransport() override = default;

    [[nodiscard]] HttpResponse Exchange(const HttpRequest& request) override;

private:
    // Declared first, so that it is uninitialised after the object has been released.
    ComApartment m_apartment;
    ComDispatch m_object;
    std::function<void()> m_afterSend;
};

} // namespace tovrik::net
