#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovrik::standin::test {

// Percent-encodes everything but the unreserved characters, as the program's form bodies are.
[[nodiscard]] std::string UrlEncode(std::string_view text);

// 1 − (edit distance in code points / length of the expected text).
[[nodiscard]] double CharacterAccuracy(std::string_view expected, std::string_view actual);

// A strict little JSON reader: the stand-in's replies must parse as they are.
struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    [[nodiscard]] static std::optional<JsonValue> Parse(std::string_view json);
    [[nodiscard]] const JsonValue* Find(std::string_view name) const;
    [[nodiscard]] bool Has(std::string_view name) const { return Find(name) != nullptr; }
};

} // namespace tovrik::standin::test
