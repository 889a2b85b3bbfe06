#pragma once

#include "FormFields.h"
#include "Reply.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace tovrik::standin {

enum class TokenState { Valid, Unknown, Expired };

// The OAuth token endpoint (client-credentials grant) and the book of the tokens it handed out.
class TokenService {
public:
    using Clock = std::function<std::chrono::milliseconds()>;

    TokenService(std::string apiKey, std::string secretKey, std::chrono::seconds lifetime, Clock clock = SteadyNow);

    // grant_type, client_id and client_secret, from the form body or the query.
    [[nodiscard]] Reply Issue(const FormFields& fields);
    [[nodiscard]] TokenState Check(const std::string& token);

    [[nodiscard]] static std::chrono::milliseconds SteadyNow();

private:
    [[nodiscard]] std::string NewToken(std::string_view prefix);

    const std::string m_apiKey;
    const std::string m_secretKey;
    const std::chrono::seconds m_lifetime;
    const Clock m_clock;
    std::mutex m_mutex;
    std::map<std::string, std::chrono::milliseconds, std::less<>> m_deadlines;
    std::uint64_t m_serial = 0;
};

} // namespace tovrik::standin
