#include "TokenService.h"

#include "Json.h"

#include <openssl/rand.h>

#include <ctime>
#include <utility>

namespace tovrik::standin {

namespace {

// Every request for a token adds one; a client that asks in a loop must not grow the book
// without end. Expired tokens go first, then the oldest.
constexpr size_t kMaxTokens = 10000;
constexpr const char* kScope = "public brain_all_scope brain_ocr_general brain_ocr_general_basic";

Reply OAuthError(int status, std::string_view error, std::string_view description) {
    return Reply::Json(status,
                       "{\"error\":" + JsonQuote(error) + ",\"error_description\":" + JsonQuote(description) + "}");
}

std::string RandomHex(size_t bytes) {
    std::string raw(bytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(raw.data()), static_cast<int>(bytes)) != 1) {
        raw.clear();
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : raw) {
        hex += kHex[c >> 4];
        hex += kHex[c & 0x0F];
    }
    return hex;
}

} // namespace

TokenService::TokenService(std::string apiKey, std::string secretKey, std::chrono::seconds lifetime, Clock clock)
    : m_apiKey(std::move(apiKey)), m_secretKey(std::move(secretKey)), m_lifetime(lifetime), m_clock(std::move(clock)) {}

std::chrono::milliseconds TokenService::SteadyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

Reply TokenService::Issue(const FormFields& fields) {
    if (fields.Value("grant_type") != "client_credentials") {
        return OAuthError(400, "unsupported_grant_type", "The authorization grant type is not supported");
    }
    const std::string clientId = fields.Value("client_id");
    if (clientId != m_apiKey) {
        return OAuthError(401, "invalid_client", "unknown client id");
    }
    if (fields.Value("client_secret") != m_secretKey) {
        return OAuthError(401, "invalid_client", "Client authentication failed");
    }
    const std::string token = NewToken("24.");
    if (token.empty()) {
        return OAuthError(500, "server_error", "no random bytes");
    }
    const std::string seconds = std::to_string(m_lifetime.count());
    return Reply::Json(200, "{\"refresh_token\":" + JsonQuote("25." + token.substr(3)) + ",\"expires_in\":" + seconds +
                                ",\"session_key\":" + JsonQuote(RandomHex(16)) +
                                ",\"access_token\":" + JsonQuote(token) + ",\"scope\":" + JsonQuote(kScope) +
                                ",\"session_secret\":" + JsonQuote(RandomHex(16)) + "}");
}

std::string TokenService::NewToken(std::string_view prefix) {
    const std::string random = RandomHex(16);
    if (random.empty()) {
        return {};
    }
    const std::lock_guard lock(m_mutex);
    const std::chrono::milliseconds now = m_clock();
    const std::string token = std::string(prefix) + random + "." + std::to_string(m_lifetime.count()) + "." +
                              std::to_string(std::time(nullptr)) + "." + std::to_string(++m_serial);
    if (m_deadlines.size() >= kMaxTokens) {
        std::erase_if(m_deadlines, [&](const auto& entry) { return entry.second <= now; });
    }
    if (m_deadlines.size() >= kMaxTokens) {
        auto oldest = m_deadlines.begin();
        for (auto it = m_deadlines.begin(); it != m_deadlines.end(); ++it) {
            if (it->second < oldest->second) {
                oldest = it;
            }
        }
        m_deadlines.erase(oldest);
    }
    m_deadlines.emplace(token, now + m_lifetime);
    return token;
}

TokenState TokenService::Check(const std::string& token) {
    const std::lock_guard lock(m_mutex);
    const auto it = m_deadlines.find(token);
    if (it == m_deadlines.end()) {
        return TokenState::Unknown;
    }
    return m_clock() < it->second ? TokenState::Valid : TokenState::Expired;
}

} // namespace tovrik::standin
