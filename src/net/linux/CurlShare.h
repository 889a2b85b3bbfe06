#pragma once

#include <curl/curl.h>

#include <array>
#include <mutex>

namespace tovrik::net {

// State that outlives one transfer: cookies, and optionally live connections. Safe to attach
// from several threads.
class CurlShare {
public:
    explicit CurlShare(bool withConnections);
    CurlShare(const CurlShare&) = delete;
    CurlShare& operator=(const CurlShare&) = delete;
    ~CurlShare();

    // Null when curl could not create it; transfers then run without it.
    [[nodiscard]] CURLSH* Handle() const { return m_share; }

    // The process-wide cookie store of the first client, as the platform keeps one on Windows.
    [[nodiscard]] static CurlShare& ProcessCookies();

private:
    static void Lock(CURL* easy, curl_lock_data data, curl_lock_access access, void* self);
    static void Unlock(CURL* easy, curl_lock_data data, void* self);

    CURLSH* m_share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> m_locks;
};

} // namespace tovrik::net
