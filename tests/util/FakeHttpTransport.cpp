#include "FakeHttpTransport.h"

namespace tovrik::testutil {

net::HttpResponse FakeHttpTransport::Exchange(const net::HttpRequest& request) {
    m_requests.push_back(request);
    if (m_script.empty()) {
        return m_fallback;
    }
    net::HttpResponse response = std::move(m_script.front());
    m_script.pop_front();
    return response;
}

void FakeHttpTransport::FailToOpen() {
    m_script.clear();
    m_fallback = net::HttpResponse{};
}

} // namespace tovrik::testutil
