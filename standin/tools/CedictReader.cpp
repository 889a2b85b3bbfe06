#include "CedictReader.h"

#include "Utf8.h"

#include <variant>

namespace tovrik::standin {

namespace {

// Just enough JSON for the package's data: strings, numbers, arrays and objects; the values
// of interest are strings and arrays of strings.
class JsonCursor {
public:
    explicit JsonCursor(std::string_view text) : m_text(text) {}

    [[nodiscard]] bool Failed() const { return m_failed; }
    [[nodiscard]] size_t Position() const { return m_at; }

    void SkipSpace() {
        while (m_at < m_text.size() &&
               (m_text[m_at] == ' ' || m_text[m_at] == '\n' || m_text[m_at] == '\r' || m_text[m_at] == '\t')) {
            ++m_at;
        }
    }

    bool Take(char c) {
        SkipSpace();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    bool Peek(char c) {
        SkipSpace();
        return m_at < m_text.size() && m_text[m_at] == c;
    }

    bool Expect(char c) {
        if (!Take(c)) {
            m_failed = true;
        }
        return !m_failed;
    }

    std::string String() {
        std::string out;
        if (!Expect('"')) {
            return out;
        }
        while (m_at < m_text.size() && m_text[m_at] != '"') {
            const char c = m_text[m_at++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size()) {
                break;
            }
            const char escaped = m_text[m_at++];
            switch (escaped) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u':
                out += CodeUnit();
                break;
            default:
                out += escaped;
                break;
            }
        }
        Expect('"');
        return out;
    }

    // Skips any value; a malformed one marks the cursor failed.
    void SkipValue() {
        SkipSpace();
        if (Peek('"')) {
            (void)String();
        } else if (Take('[')) {
            if (!Take(']')) {
                do {
                    SkipValue();
                } while (!m_failed && Take(','));
                Expect(']');
            }
        } else if (Take('{')) {
            if (!Take('}')) {
                do {
                    (void)String();
                    Expect(':');
                    SkipValue();
                } while (!m_failed && Take(','));
                Expect('}');
            }
        } else {
            const size_t start = m_at;
            while (m_at < m_text.size() && m_text[m_at] != ',' && m_text[m_at] != ']' && m_text[m_at] != '}') {
                ++m_at;
            }
            m_failed = m_failed || m_at == start;
        }
    }

    // A string, or an array of strings.
    std::vector<std::string> Strings() {
        std::vector<std::string> out;
        if (Peek('"')) {
            out.push_back(String());
        } else if (Expect('[') && !Take(']')) {
            do {
                out.push_back(String());
            } while (!m_failed && Take(','));
            Expect(']');
        }
        return out;
    }

private:
    // \uXXXX, with a following \uXXXX when it is the high half of a surrogate pair.
    std::string CodeUnit() {
        auto hex4 = [this]() -> char32_t {
            if (m_at + 4 > m_text.size()) {
                m_failed = true;
                return 0;
            }
            char32_t value = 0;
            for (int i = 0; i < 4; ++i) {
                const char h = m_text[m_at++];
                value = value * 16 + static_cast<char32_t>(h >= 'a' ? h - 'a' + 10 : h >= 'A' ? h - 'A' + 10 : h - '0');
            }
            return value;
        };
        char32_t value = hex4();
        if (value >= 0xD800 && value < 0xDC00 && m_text.substr(m_at, 2) == "\\u") {
            m_at += 2;
            const char32_t low = hex4();
            value = 0x10000 + ((value - 0xD800) << 10) + (low - 0xDC00);
        }
        return EncodeUtf8(std::u32string(1, value));
    }

    std::string_view m_text;
    size_t m_at = 0;
    bool m_failed = false;
};

} // namespace

std::optional<std::vector<CedictEntry>> ReadCedict(std::string_view allJs, std::string& errorOut) {
    const size_t list = allJs.find("{\"all\":[");
    if (list == std::string_view::npos) {
        errorOut = "no {\"all\":[ list in the dictionary data";
        return std::nullopt;
    }
    JsonCursor cursor(allJs.substr(list + 8));
    std::vector<CedictEntry> entries;
    if (cursor.Take(']')) {
        return entries;
    }
    do {
        if (!cursor.Expect('[')) {
            break;
        }
        (void)cursor.String(); // traditional
        CedictEntry entry;
        cursor.Expect(',');
        entry.simplified = cursor.String();
        cursor.Expect(',');
        entry.pinyin = cursor.String();
        cursor.Expect(',');
        entry.senses = cursor.Strings();
        while (!cursor.Failed() && cursor.Take(',')) {
            cursor.SkipValue(); // classifiers, variants
        }
        cursor.Expect(']');
        if (!cursor.Failed()) {
            entries.push_back(std::move(entry));
        }
    } while (!cursor.Failed() && cursor.Take(','));
    if (cursor.Failed() || !cursor.Take(']')) {
        errorOut = "malformed dictionary data after " + std::to_string(entries.size()) + " entries (offset " +
                   std::to_string(list + 8 + cursor.Position()) + ")";
        return std::nullopt;
    }
    return entries;
}

} // namespace tovrik::standin
