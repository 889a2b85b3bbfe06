#include "TokenService.h"

#include "Json.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <charconv>
#include <utility>
#include <vector>

namespace tovrik::standin {

namespace {

constexpr const char* kScope = "public brain_all_scope brain_ocr_general brain_ocr_general_basic";
constexpr std::string_view kPrefix = "24";
constexpr size_t kNonceBytes = 16;
constexpr size_t kSealHexDigits = 64; // HMAC-SHA-256

Reply OAuthError(int status, std::string_view error, std::string_view description) {
    return Reply::Json(status,
                       "{\"error\":" + JsonQuote(error) + ",\"error_description\":" + JsonQuote(description) + "}");
}

std::string Hex(const unsigned char* bytes, size_t count) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < count; ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 0x0F];
    }
    return hex;
}

std::string RandomHex(size_t bytes) {
    std::vector<unsigned char> raw(bytes);
    if (RAND_bytes(raw.data(), static_cast<int>(bytes)) != 1) {
        return {};
    }
    return Hex(raw.data(), raw.size());
}

// Each field with its length in front, so that no two lists of fields give the same text.
void AddField(std::string& text, std::string_view field) {
    text += std::to_string(field.size());
    text += ':';
    text += field;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsHex(std::string_view text, size_t digits) {
    return text.size() == digits && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t from = 0;;) {
        const size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) {
            return parts;
        }
        from = at + 1;
    }
}

} // namespace

TokenService::TokenService(std::string apiKey, std::string secretKey, std::chrono::seconds lifetime, std::string secret,
                           Clock clock)
    : m_apiKey(std::move(apiKey)), m_secretKey(std::move(secretKey)), m_lifetime(lifetime), m_secret(std::move(secret)),
      m_clock(std::move(clock)) {}

std::chrono::milliseconds TokenService::WallNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
}

std::string TokenService::Seal(const std::string& nonce, const std::string& lifetime, const std::string& issued) const {
    std::string text;
    for (const std::string_view field :
         {std::string_view(m_apiKey), std::string_view(m_secretKey), std::string_view(nonce),
          std::string_view(lifetime), std::string_view(issued)}) {
        AddField(text, field);
    }
    unsigned char mac[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (HMAC(EVP_sha256(), m_secret.data(), static_cast<int>(m_secret.size()),
             reinterpret_cast<const unsigned char*>(text.data()), text.size(), mac, &length) == nullptr) {
        return {};
    }
    return Hex(mac, length);
}

Reply TokenService::Issue(const FormFields& fields) const {
    if (fields.Value("grant_type") != "client_credentials") {
        return OAuthError(400, "unsupported_grant_type", "The authorization grant type is not supported");
    }
    if (fields.Value("client_id") != m_apiKey) {
        return OAuthError(401, "invalid_client", "unknown client id");
    }
    if (fields.Value("client_secret") != m_secretKey) {
        return OAuthError(401, "invalid_client", "Client authentication failed");
    }
    const std::string nonce = RandomHex(kNonceBytes);
    const std::string lifetime = std::to_string(m_lifetime.count());
    const std::string issued = std::to_string(m_clock().count());
    const std::string seal = nonce.empty() ? std::string() : Seal(nonce, lifetime, issued);
    if (seal.empty()) {
        return OAuthError(500, "server_error", "no random bytes");
    }
    const std::string token = std::string(kPrefix) + "." + nonce + "." + lifetime + "." + issued + "." + seal;
    return Reply::Json(200, "{\"refresh_token\":" + JsonQuote("25." + token.substr(3)) + ",\"expires_in\":" + lifetime +
                                ",\"session_key\":" + JsonQuote(RandomHex(16)) +
                                ",\"access_token\":" + JsonQuote(token) + ",\"scope\":" + JsonQuote(kScope) +
                                ",\"session_secret\":" + JsonQuote(RandomHex(16)) + "}");
}

TokenState TokenService::Check(const std::string& token) const {
    const std::vector<std::string_view> parts = Split(token, '.');
    if (parts.size() != 5 || parts[0] != kPrefix || !IsHex(parts[1], 2 * kNonceBytes) || !IsDigits(parts[2]) ||
        !IsDigits(parts[3]) || !IsHex(parts[4], kSealHexDigits) || parts[2].size() > 12 || parts[3].size() > 15) {
        return TokenState::Unknown;
    }
    const std::string expected = Seal(std::string(parts[1]), std::string(parts[2]), std::string(parts[3]));
    if (expected.size() != parts[4].size() || CRYPTO_memcmp(expected.data(), parts[4].data(), expected.size()) != 0) {
        return TokenState::Unknown;
    }
    long long lifetime = 0;
    long long issued = 0;
    std::from_chars(parts[2].data(), parts[2].data() + parts[2].size(), lifetime);
    std::from_chars(parts[3].data(), parts[3].data() + parts[3].size(), issued);
    return m_clock().count() < issued + lifetime * 1000 ? TokenState::Valid : TokenState::Expired;
}

} // namespace tovrik::standin
