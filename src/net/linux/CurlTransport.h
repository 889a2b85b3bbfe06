#pragma once

#include "net/HttpTransport.h"
#include "net/linux/CurlShare.h"

#include <memory>
#include <mutex>

namespace tovrik::net {

// libcurl carrying either client, one easy handle per exchange. The flavour decides what the
// Windows platform would do: a session per call with a process-wide cookie store and the
// status line in the reported header block, or a request object with its own cookies and
// connections (kept while the transport lives) and a header block without the status line.
enum class CurlFlavour { Session, RequestObject };

class CurlTransport final : public HttpTransport {
public:
    explicit CurlTransport(CurlFlavour flavour);
    ~CurlTransport() override;

    [[nodiscard]] HttpResponse Exchange(const HttpRequest& request) override;

private:
    [[nodiscard]] CURLSH* StoreFor(const HttpRequest& request) const;

    CurlFlavour m_flavour;
    std::once_flag m_setUp;
    std::unique_ptr<CurlShare> m_objectState; // request object only, made at the first exchange
};

} // namespace tovrik::net
