#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// A Chinese headword: its English reading (empty for particles that English leaves out), its
// segmentation cost (100 * -ln of its share of a corpus: lower is more common) and whether it
// can be a measure word ("个", "家").
struct ChineseWord {
    std::string_view chinese;
    std::string_view english;
    int cost = 0;
    bool classifier = false;
};

// The stand-in's translation dictionary, built from CC-CEDICT by tovrik-dictionary-index:
//   tovrik-dictionary 1
//   Z <count>                            then per headword, sorted by UTF-8 bytes:
//   <chinese> TAB <english> TAB <cost> TAB c|-
//   E <count>                            then per English phrase, sorted:
//   <english phrase> TAB <chinese>
// Lookups are binary searches over views into the one loaded text.
class DictionaryIndex {
public:
    // Nothing when the file is missing or not an index; errorOut says which.
    [[nodiscard]] static std::optional<DictionaryIndex> Load(const std::string& path, std::string& errorOut);
    [[nodiscard]] static std::optional<DictionaryIndex> Parse(std::string text, std::string& errorOut);

    [[nodiscard]] const ChineseWord* FindChinese(std::string_view chinese) const;
    [[nodiscard]] std::optional<std::string_view> FindEnglish(std::string_view lowerEnglish) const;
    // In characters: no headword is longer.
    [[nodiscard]] size_t LongestChinese() const { return m_longestChinese; }
    [[nodiscard]] size_t ChineseCount() const { return m_chinese.size(); }
    [[nodiscard]] size_t EnglishCount() const { return m_english.size(); }

private:
    struct EnglishPhrase {
        std::string_view english;
        std::string_view chinese;
    };

    // The text stays where it is when the index moves: the views point into it.
    std::unique_ptr<const std::string> m_text;
    std::vector<ChineseWord> m_chinese;
    std::vector<EnglishPhrase> m_english;
    size_t m_longestChinese = 1;
};

// Where the build puts the index.
[[nodiscard]] std::string DefaultDictionaryPath();

// The index an installed stand-in loads: <prefix>/share/tovrikocr/dictionary.idx for the
// executable <prefix>/bin/tovrik-standin.
[[nodiscard]] std::filesystem::path InstalledDictionaryPath(const std::filesystem::path& executable);

// The index to load: the one named on the command line, else the installed one when it is there,
// else the build's (a stand-in run from its build folder).
[[nodiscard]] std::string ChooseDictionaryPath(const std::string& option, const std::filesystem::path& executable);

} // namespace tovrik::standin
