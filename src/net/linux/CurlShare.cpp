#include "net/linux/CurlShare.h"

#include <cstddef>

namespace tovrik::net {

CurlShare::CurlShare(bool withConnections) : m_share(curl_share_init()) {
    if (m_share == nullptr) {
        return;
    }
    curl_share_setopt(m_share, CURLSHOPT_LOCKFUNC, &CurlShare::Lock);
    curl_share_setopt(m_share, CURLSHOPT_UNLOCKFUNC, &CurlShare::Unlock);
    curl_share_setopt(m_share, CURLSHOPT_USERDATA, this);
    curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    if (withConnections) {
        curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    }
}

CurlShare::~CurlShare() {
    if (m_share != nullptr) {
        curl_share_cleanup(m_share);
    }
}

CurlShare& CurlShare::ProcessCookies() {
    static CurlShare instance(false);
    return instance;
}

void CurlShare::Lock(CURL* /*easy*/, curl_lock_data data, curl_lock_access /*access*/, void* self) {
    static_cast<CurlShare*>(self)->m_locks[static_cast<std::size_t>(data)].lock();
}

void CurlShare::Unlock(CURL* /*easy*/, curl_lock_data data, void* self) {
    static_cast<CurlShare*>(self)->m_locks[static_cast<std::size_t>(data)].unlock();
}

} // namespace tovrik::net
