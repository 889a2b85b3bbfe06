#pragma once

#include "net/HttpTransport.h"

#include <deque>
#include <vector>

namespace tovrik::testutil {

// A transport that records every shaped request and answers with scripted replies, in order;
// once the script is used up it repeats the fallback reply (opened, status 200, empty body).
class FakeHttpTransport final : public net::HttpTransport {
public:
    FakeHttpTransport() = default;
    ~FakeHttpTransport() override = default;

    [[nodiscard]] net::HttpResponse Exchange(const net::HttpRequest& request) override;

    void Script(net::HttpResponse response) { m_script.push_back(std::move(response)); }
    void SetFallback(net::HttpResponse response) { m_fallback = std::move(response); }
    // The platform could not even set the request up.
    void FailToOpen();

    [[nodiscard]] const std::vector<net::HttpRequest>& Requests() const { return m_requests; }
    [[nodiscard]] const net::HttpRequest& LastRequest() const { return m_requests.back(); }

private:
    std::vector<net::HttpRequest> m_requests;
    std::deque<net::HttpResponse> m_script;
    net::HttpResponse m_fallback{true, 200, {}, {}};
};

} // namespace tovrik::testutil
