#include "FormFields.h"

namespace tovrik::standin {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out.push_back(' ');
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

FormFields FormFields::Parse(std::string_view encoded) {
    FormFields fields;
    size_t start = 0;
    while (start <= encoded.size()) {
        size_t end = encoded.find('&', start);
        if (end == std::string_view::npos) {
            end = encoded.size();
        }
        const std::string_view pair = encoded.substr(start, end - start);
        if (!pair.empty()) {
            const size_t equals = pair.find('=');
            const std::string_view name = pair.substr(0, equals);
            const std::string_view value =
                equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
            fields.m_pairs.emplace_back(PercentDecode(name), PercentDecode(value));
        }
        start = end + 1;
    }
    return fields;
}

std::optional<std::string> FormFields::Get(std::string_view name) const {
    for (const auto& [key, value] : m_pairs) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::string FormFields::Value(std::string_view name) const {
    return Get(name).value_or(std::string());
}

} // namespace tovrik::standin
