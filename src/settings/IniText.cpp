#include "settings/IniText.h"

#include "text/Encoding.h"

#include <vector>

namespace tovrik::settings {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kLineBreak = "\r\n";

enum class Encoding { Ansi, Utf8, Utf16 };

// The file's text as the editor works on it: code page 936 bytes as they are, or UTF-8.
struct Body {
    Encoding encoding = Encoding::Ansi;
    std::string text;

    // Code page 936 has double-byte characters whose second byte may look like ']' or a
    // letter; UTF-8 never reuses ASCII bytes.
    [[nodiscard]] bool DoubleByte() const { return encoding == Encoding::Ansi; }
    [[nodiscard]] std::string FromProgram(TextView programText) const {
        return encoding == Encoding::Ansi ? std::string(programText) : text::TextToUtf8(programText);
    }
    [[nodiscard]] Text ToProgram(std::string_view bodyText) const {
        return encoding == Encoding::Ansi ? Text(bodyText) : text::Utf8ToText(bodyText);
    }
};

Body Decode(BytesView file) {
    if (file.starts_with(kUtf8Bom)) {
        return {Encoding::Utf8, std::string(file.substr(kUtf8Bom.size()))};
    }
    if (file.starts_with(kUtf16Bom)) {
        return {Encoding::Utf16, text::WideToMultiByte(file.substr(kUtf16Bom.size()), text::kCodePageUtf8)};
    }
    return {Encoding::Ansi, std::string(file)};
}

Bytes Encode(const Body& body) {
    switch (body.encoding) {
    case Encoding::Utf8:
        return Bytes(kUtf8Bom) + body.text;
    case Encoding::Utf16: {
        Bytes wide = text::MultiByteToWide(body.text, text::kCodePageUtf8);
        if (wide.size() >= 2 && wide[wide.size() - 1] == '\0' && wide[wide.size() - 2] == '\0') {
            wide.resize(wide.size() - 2);
        }
        return Bytes(kUtf16Bom) + wide;
    }
    case Encoding::Ansi:
        break;
    }
    return body.text;
}

struct Line {
    std::size_t begin = 0; // first byte of the content
    std::size_t end = 0;   // end of the content, start of the line break
    std::size_t next = 0;  // start of the next line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') {
            ++next;
        }
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::size_t CharWidth(std::string_view text, std::size_t i, bool doubleByte) {
    const auto byte = static_cast<unsigned char>(text[i]);
    return doubleByte && byte >= 0x81 && byte <= 0xFE && i + 1 < text.size() ? 2 : 1;
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b, bool doubleByte) {
    if (a.size() != b.size() || a.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t width = CharWidth(a, i, doubleByte);
        if (width == 2) {
            if (a.substr(i, 2) != b.substr(i, 2)) {
                return false;
            }
        } else if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
        i += width;
    }
    return true;
}

// The name of a section header line; nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line, bool doubleByte) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < line.size(); i += CharWidth(line, i, doubleByte)) {
        if (line[i] == ']') {
            close = i;
        }
    }
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(line.substr(1, close - 1));
}

struct Item {
    std::string_view name;
    std::string_view value;
    std::size_t valueOffset = 0; // where the value starts within the line
};

// The '=' byte never occurs inside a double-byte character, so a plain search finds it.
std::optional<Item> ParseItem(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    const std::size_t equals = line.find('=');
    if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t valueOffset = equals + 1;
    while (valueOffset < line.size() && IsBlank(line[valueOffset])) {
        ++valueOffset;
    }
    return Item{Trim(line.substr(0, equals)), Trim(line.substr(valueOffset)), valueOffset};
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Where the section and the key are in the lines; indexes into the line list.
struct Location {
    std::optional<std::size_t> section;
    std::optional<std::size_t> item;
    std::size_t lastFilled = 0; // the section's last non-blank line (its header at least)
};

Location Locate(const Body& body, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location location;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content =
            std::string_view(body.text).substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = SectionName(content, body.DoubleByte())) {
            if (location.section) {
                break;
            }
            if (SameName(*name, section, body.DoubleByte())) {
                location.section = i;
                location.lastFilled = i;
            }
            continue;
        }
        if (!location.section) {
            continue;
        }
        if (!Trim(content).empty()) {
            location.lastFilled = i;
        }
        const auto item = ParseItem(content);
        if (!location.item && item && SameName(item->name, key, body.DoubleByte())) {
            location.item = i;
        }
    }
    return location;
}

std::string_view OneLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace

std::optional<Text> IniLookup(BytesView file, TextView section, TextView key) {
    const Body body = Decode(file);
    const std::vector<Line> lines = SplitLines(body.text);
    const Location location = Locate(body, lines, Trim(body.FromProgram(section)), Trim(body.FromProgram(key)));
    if (!location.item) {
        return std::nullopt;
    }
    const Line& line = lines[*location.item];
    const auto item = ParseItem(std::string_view(body.text).substr(line.begin, line.end - line.begin));
    return body.ToProgram(Unquoted(item->value));
}

Bytes IniUpdate(BytesView file, TextView section, TextView key, TextView value) {
    Body body = Decode(file);
    const std::string sectionName(Trim(body.FromProgram(OneLine(section))));
    const std::string keyName(Trim(body.FromProgram(OneLine(key))));
    const std::string newValue = body.FromProgram(OneLine(value));
    const std::vector<Line> lines = SplitLines(body.text);
    const Location location = Locate(body, lines, sectionName, keyName);

    if (location.item) {
        const Line& line = lines[*location.item];
        const auto item = ParseItem(std::string_view(body.text).substr(line.begin, line.end - line.begin));
        const std::size_t valueBegin = line.begin + item->valueOffset;
        body.text.replace(valueBegin, line.end - valueBegin, newValue);
    } else if (location.section) {
        const Line& after = lines[location.lastFilled];
        const std::string breakBefore = after.next == after.end ? std::string(kLineBreak) : std::string();
        body.text.insert(after.next, breakBefore + keyName + "=" + newValue + std::string(kLineBreak));
    } else {
        if (!body.text.empty() && body.text.back() != '\n' && body.text.back() != '\r') {
            body.text += kLineBreak;
        }
        body.text +=
            "[" + sectionName + "]" + std::string(kLineBreak) + keyName + "=" + newValue + std::string(kLineBreak);
    }
    return Encode(body);
}

} // namespace tovrik::settings
