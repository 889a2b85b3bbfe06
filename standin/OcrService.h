#pragma once

#include "FormFields.h"
#include "Reply.h"

#include <atomic>
#include <cstdint>

namespace tovrik::standin {

class OcrEngine;
class TokenService;

// The two recognition endpoints: the access token in the query, the picture as Base64 in the
// form field "image" (a data URL is accepted as well), the lines in "words_result".
class OcrService {
public:
    OcrService(OcrEngine& engine, TokenService& tokens);

    // withLocation adds each line's box, as the general endpoint does.
    [[nodiscard]] Reply Recognize(const FormFields& query, const FormFields& form, bool withLocation);

private:
    [[nodiscard]] Reply Error(int code, std::string_view message);

    OcrEngine& m_engine;
    TokenService& m_tokens;
    std::atomic<std::uint64_t> m_logId;
};

} // namespace tovrik::standin
