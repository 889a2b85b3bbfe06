#include "TestSupport.h"

#include "Utf8.h"

#include <algorithm>
#include <cstdlib>

namespace tovrik::standin::test {

std::string UrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') || c == '-' ||
            c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

double CharacterAccuracy(std::string_view expected, std::string_view actual) {
    const std::vector<char32_t> a = DecodeUtf8(expected);
    const std::vector<char32_t> b = DecodeUtf8(actual);
    std::vector<size_t> previous(b.size() + 1);
    std::vector<size_t> current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1] ? 1 : 0)});
        }
        std::swap(previous, current);
    }
    return a.empty() ? (b.empty() ? 1.0 : 0.0)
                     : 1.0 - static_cast<double>(previous[b.size()]) / static_cast<double>(a.size());
}

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    std::optional<JsonValue> Document() {
        auto value = Value();
        SkipSpace();
        if (!value || m_pos != m_text.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    void SkipSpace() {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r' || m_text[m_pos] == '\t')) {
            ++m_pos;
        }
    }

    bool Take(char c) {
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word) {
            return false;
        }
        m_pos += word.size();
        return true;
    }

    std::optional<unsigned> Hex4() {
        if (m_pos + 4 > m_text.size()) {
            return std::nullopt;
        }
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        return value;
    }

    std::optional<std::string> String() {
        if (!Take('"')) {
            return std::nullopt;
        }
        std::string out;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size()) {
                return std::nullopt;
            }
            const char e = m_text[m_pos++];
            static constexpr std::string_view kSimple = "\"\\/bfnrt";
            static constexpr std::string_view kMeaning = "\"\\/\b\f\n\r\t";
            if (const size_t k = kSimple.find(e); k != std::string_view::npos) {
                out += kMeaning[k];
            } else if (e == 'u') {
                auto unit = Hex4();
                if (!unit) {
                    return std::nullopt;
                }
                char32_t code = *unit;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (!Literal("\\u")) {
                        return std::nullopt;
                    }
                    const auto low = Hex4();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                        return std::nullopt;
                    }
                    code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
                }
                out += EncodeUtf8(std::u32string(1, code));
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<JsonValue> Value() {
        SkipSpace();
        if (m_pos >= m_text.size()) {
            return std::nullopt;
        }
        JsonValue value;
        const char c = m_text[m_pos];
        if (c == '"') {
            auto text = String();
            if (!text) {
                return std::nullopt;
            }
            value.kind = JsonValue::Kind::String;
            value.text = *text;
        } else if (c == '{') {
            ++m_pos;
            value.kind = JsonValue::Kind::Object;
            if (!Take('}')) {
                do {
                    auto name = String();
                    if (!name || !Take(':')) {
                        return std::nullopt;
                    }
                    auto member = Value();
                    if (!member) {
                        return std::nullopt;
                    }
                    value.members.emplace_back(*name, *member);
                } while (Take(','));
                if (!Take('}')) {
                    return std::nullopt;
                }
            }
        } else if (c == '[') {
            ++m_pos;
            value.kind = JsonValue::Kind::Array;
            if (!Take(']')) {
                do {
                    auto item = Value();
                    if (!item) {
                        return std::nullopt;
                    }
                    value.items.push_back(*item);
                } while (Take(','));
                if (!Take(']')) {
                    return std::nullopt;
                }
            }
        } else if (Literal("true") || Literal("false")) {
            value.kind = JsonValue::Kind::Bool;
            value.boolean = m_text[m_pos - 1] == 'e' && m_text[m_pos - 2] == 'u';
        } else if (Literal("null")) {
            value.kind = JsonValue::Kind::Null;
        } else {
            const std::string rest(m_text.substr(m_pos, 64));
            char* end = nullptr;
            value.number = std::strtod(rest.c_str(), &end);
            if (end == rest.c_str()) {
                return std::nullopt;
            }
            value.kind = JsonValue::Kind::Number;
            value.text = rest.substr(0, static_cast<size_t>(end - rest.c_str()));
            m_pos += value.text.size();
        }
        return value;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

} // namespace

std::optional<JsonValue> JsonValue::Parse(std::string_view json) {
    return Reader(json).Document();
}

const JsonValue* JsonValue::Find(std::string_view name) const {
    for (const auto& [key, value] : members) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

} // namespace tovrik::standin::test
