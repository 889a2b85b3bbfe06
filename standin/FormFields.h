#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovrik::standin {

// Decodes %XX escapes and, as forms and query strings do, "+" as a space. A "%" that is not
// followed by two hexadecimal digits stays as it is.
[[nodiscard]] std::string PercentDecode(std::string_view text);

// The name=value pairs of an application/x-www-form-urlencoded body or a query string.
class FormFields {
public:
    [[nodiscard]] static FormFields Parse(std::string_view encoded);

    // The value of the first pair with this name; nothing when there is no such pair.
    [[nodiscard]] std::optional<std::string> Get(std::string_view name) const;
    // The value, or empty text when the pair is missing.
    [[nodiscard]] std::string Value(std::string_view name) const;

private:
    std::vector<std::pair<std::string, std::string>> m_pairs;
};

} // namespace tovrik::standin
