#include "json/ScriptShape.h"

namespace tovrik::json {

namespace {

constexpr std::size_t kMaximumDigits = 9;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of a plain decimal index "[123]" starting at `open` (the bracket), or 0.
std::size_t IndexLength(std::string_view script, std::size_t open) {
    std::size_t end = open + 1;
    while (end < script.size() && IsDigit(script[end])) {
        ++end;
    }
    const std::size_t digits = end - open - 1;
    if (digits == 0 || digits > kMaximumDigits || end >= script.size() || script[end] != ']') {
        return 0;
    }
    if (digits > 1 && script[open + 1] == '0') {
        return 0;
    }
    return digits;
}

} // namespace

ScriptShape ShapeOf(std::string_view script) {
    if (script.size() > ScriptShape::kMaximumLength) {
        return {};
    }
    const ScriptShape unchanged{true, std::string(script), {}};
    if (script.find(ScriptShape::kIndexVariable) != std::string_view::npos) {
        return unchanged;
    }
    ScriptShape shape;
    shape.reusable = true;
    shape.text.reserve(script.size() + 32);
    char quote = 0;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (quote != 0) {
            shape.text += c;
            if (c == '\\' && i + 1 < script.size()) {
                shape.text += script[++i];
            } else if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '/') {
            return unchanged;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        }
        const std::size_t digits = c == '[' ? IndexLength(script, i) : 0;
        if (digits == 0) {
            shape.text += c;
            continue;
        }
        if (shape.indexes.size() == ScriptShape::kMaximumIndexes) {
            return unchanged;
        }
        shape.text += '[';
        shape.text += ScriptShape::kIndexVariable;
        shape.text += std::to_string(shape.indexes.size());
        shape.text += ']';
        shape.indexes.push_back(static_cast<unsigned>(std::stoul(std::string(script.substr(i + 1, digits)))));
        i += digits + 1;
    }
    return quote != 0 ? unchanged : shape;
}

} // namespace tovrik::json
