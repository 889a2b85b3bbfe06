#include "TranslationService.h"

#include "DictionaryTranslator.h"
#include "Json.h"
#include "Md5.h"
#include "OcrText.h"
#include "Utf8.h"

#include <optional>
#include <utility>
#include <vector>

namespace tovrik::standin {

namespace {

// Longer texts are refused by both interfaces, as the public services do.
constexpr size_t kMaxCharacters = 6000;

Reply SignedError(std::string_view code, std::string_view message) {
    return Reply::Json(200, "{\"error_code\":" + JsonQuote(code) + ",\"error_msg\":" + JsonQuote(message) + "}");
}

std::optional<Language> ParseLanguage(std::string_view code) {
    if (code == "en") {
        return Language::English;
    }
    if (code == "zh") {
        return Language::Chinese;
    }
    return std::nullopt;
}

Language Detect(std::string_view text) {
    return HasIdeograph(text) ? Language::Chinese : Language::English;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

TranslationService::TranslationService(std::string appId, std::string appKey, const DictionaryTranslator& translator)
    : m_appId(std::move(appId)), m_appKey(std::move(appKey)), m_translator(translator) {}

Reply TranslationService::Signed(const FormFields& fields) const {
    const std::string q = fields.Value("q");
    const std::string from = fields.Value("from");
    const std::string to = fields.Value("to");
    const std::string appId = fields.Value("appid");
    const std::string salt = fields.Value("salt");
    const std::string sign = fields.Value("sign");
    if (q.empty() || from.empty() || to.empty() || appId.empty() || salt.empty() || sign.empty()) {
        return SignedError("54000", "PARAM_FROM_TO_OR_Q_EMPTY");
    }
    if (appId != m_appId) {
        return SignedError("52003", "UNAUTHORIZED USER");
    }
    if (sign != Md5Hex(appId + q + salt + m_appKey)) {
        return SignedError("54001", "Invalid Sign");
    }
    if (DecodeUtf8(q).size() > kMaxCharacters) {
        return SignedError("54005", "LONG_QUERY_TOO_FREQUENTLY");
    }
    const std::optional<Language> target = ParseLanguage(to);
    const std::optional<Language> source = from == "auto" ? std::optional(Detect(q)) : ParseLanguage(from);
    if (!target || !source || (from != "auto" && *source == *target)) {
        return SignedError("58001", "INVALID_TO_PARAM");
    }
    std::string items;
    for (const std::string& line : SplitLines(q)) {
        if (line.empty()) {
            continue;
        }
        items += items.empty() ? "{" : ",{";
        items += "\"src\":" + JsonQuote(line, true) +
                 ",\"dst\":" + JsonQuote(*source == *target ? line : m_translator.TranslateLine(line, *source), true) +
                 "}";
    }
    const char* sourceCode = *source == Language::English ? "en" : "zh";
    return Reply::Json(200, "{\"from\":\"" + std::string(sourceCode) + "\",\"to\":" + JsonQuote(to) +
                                ",\"trans_result\":[" + items + "]}");
}

Reply TranslationService::PlainText(const FormFields& query) const {
    std::string text = query.Value("i");
    const std::string type = query.Value("type");
    Reply reply = Reply::Of(200, "text/plain;charset=utf-8", {});
    std::optional<Language> source;
    if (type.empty() || type == "AUTO") {
        source = Detect(text);
    } else if (type == "EN2ZH_CN") {
        source = Language::English;
    } else if (type == "ZH_CN2EN") {
        source = Language::Chinese;
    }
    if (!source) {
        reply.body = "errorCode=40\r\n";
        return reply;
    }
    if (DecodeUtf8(text).size() > kMaxCharacters) {
        reply.body = "errorCode=20\r\n";
        return reply;
    }
    // The caller ends the translation with its own line break: a trailing one here would leave
    // an empty line behind every translation.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    std::string result;
    if (!text.empty()) {
        const std::vector<std::string> lines = SplitLines(text);
        for (size_t i = 0; i < lines.size(); ++i) {
            result += (i > 0 ? "\r\n" : "") + m_translator.TranslateLine(lines[i], *source);
        }
    }
    const char* direction = *source == Language::English ? "EN2ZH_CN" : "ZH_CN2EN";
    reply.body = "type=" + std::string(direction) + "\r\nerrorCode=0\r\nelapsedTime=0\r\nresult=" + result;
    return reply;
}

} // namespace tovrik::standin
