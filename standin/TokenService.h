#pragma once

#include "FormFields.h"
#include "Reply.h"

#include <chrono>
#include <functional>
#include <string>

namespace tovrik::standin {

enum class TokenState { Valid, Unknown, Expired };

// The OAuth token endpoint (client-credentials grant). A token carries its issue time, its
// lifetime and a keyed hash of both, of a random part and of the keys, made with the stand-in's
// secret: every stand-in that has the same secret and keys accepts it, before and after a
// restart, and nothing is kept per token. A token of other keys or another secret, or one
// changed in any character, is unknown.
class TokenService {
public:
    // Wall-clock milliseconds since 1970: tokens outlive the process that issued them.
    using Clock = std::function<std::chrono::milliseconds()>;

    TokenService(std::string apiKey, std::string secretKey, std::chrono::seconds lifetime, std::string secret,
                 Clock clock = WallNow);

    // grant_type, client_id and client_secret, from the form body or the query.
    [[nodiscard]] Reply Issue(const FormFields& fields) const;
    [[nodiscard]] TokenState Check(const std::string& token) const;

    [[nodiscard]] static std::chrono::milliseconds WallNow();

private:
    [[nodiscard]] std::string Seal(const std::string& nonce, const std::string& lifetime,
                                   const std::string& issued) const;

    const std::string m_apiKey;
    const std::string m_secretKey;
    const std::chrono::seconds m_lifetime;
    const std::string m_secret;
    const Clock m_clock;
};

} // namespace tovrik::standin
