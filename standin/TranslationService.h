#pragma once

#include "FormFields.h"
#include "Reply.h"

#include <string>

namespace tovrik::standin {

class DictionaryTranslator;

// The two translation interfaces: the signed JSON API (app id, salt and MD5 sign) and the
// keyless plain-text one whose answer follows "result=".
class TranslationService {
public:
    TranslationService(std::string appId, std::string appKey, const DictionaryTranslator& translator);

    // q, from, to, appid, salt, sign.
    [[nodiscard]] Reply Signed(const FormFields& fields) const;
    // i and type (AUTO, EN2ZH_CN or ZH_CN2EN) from the query.
    [[nodiscard]] Reply PlainText(const FormFields& query) const;

private:
    const std::string m_appId;
    const std::string m_appKey;
    const DictionaryTranslator& m_translator;
};

} // namespace tovrik::standin
