#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// What a lower-case English word may be an inflection of, most likely first, the word itself
// not included: irregular forms of common verbs and nouns ("went" -> "go", "children" ->
// "child"), plurals and third persons ("cities" -> "city", "boxes" -> "box", "cars" -> "car"),
// past tenses and participles ("stopped" -> "stop", "saved" -> "save", "opening" -> "open"),
// comparatives and adverbs ("nearest" -> "near", "heavily" -> "heavy"), and "'s".
[[nodiscard]] std::vector<std::string> EnglishBaseForms(std::string_view lowerWord);

} // namespace tovrik::standin
