#include "DictionaryIndex.h"

#include "Utf8.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace tovrik::standin {

namespace {

// Reads "<tag> <count>\n" and moves past it.
std::optional<size_t> SectionCount(std::string_view& text, std::string_view tag) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos || !line.starts_with(tag) || line.size() <= tag.size() ||
        line[tag.size()] != ' ') {
        return std::nullopt;
    }
    size_t count = 0;
    const auto [rest, error] = std::from_chars(line.data() + tag.size() + 1, line.data() + line.size(), count);
    if (error != std::errc() || rest != line.data() + line.size()) {
        return std::nullopt;
    }
    text.remove_prefix(end + 1);
    return count;
}

// The tab-separated fields of the next line; moves past it.
std::vector<std::string_view> NextFields(std::string_view& text) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    std::vector<std::string_view> fields;
    for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

} // namespace

std::optional<DictionaryIndex> DictionaryIndex::Load(const std::string& path, std::string& errorOut) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errorOut = "cannot open the dictionary " + path +
                   " (it is built with the stand-in; scripts/setup.sh installs its data)";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::optional<DictionaryIndex> index = Parse(std::move(text).str(), errorOut);
    if (!index) {
        errorOut = path + ": " + errorOut;
    }
    return index;
}

std::optional<DictionaryIndex> DictionaryIndex::Parse(std::string text, std::string& errorOut) {
    DictionaryIndex index;
    index.m_text = std::make_unique<const std::string>(std::move(text));
    std::string_view rest = *index.m_text;
    const std::string_view header = "tovrik-dictionary 1\n";
    if (!rest.starts_with(header)) {
        errorOut = "not a dictionary index of this version";
        return std::nullopt;
    }
    rest.remove_prefix(header.size());
    const std::optional<size_t> chineseCount = SectionCount(rest, "Z");
    if (!chineseCount) {
        errorOut = "no Chinese section";
        return std::nullopt;
    }
    index.m_chinese.reserve(*chineseCount);
    for (size_t i = 0; i < *chineseCount; ++i) {
        const std::vector<std::string_view> fields = NextFields(rest);
        int cost = 0;
        if (fields.size() != 4 || fields[0].empty() ||
            std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), cost).ec != std::errc()) {
            errorOut = "malformed Chinese entry " + std::to_string(i + 1);
            return std::nullopt;
        }
        index.m_chinese.push_back({fields[0], fields[1], cost, fields[3] == "c"});
        index.m_longestChinese = std::max(index.m_longestChinese, DecodeUtf8(fields[0]).size());
    }
    const std::optional<size_t> englishCount = SectionCount(rest, "E");
    if (!englishCount) {
        errorOut = "no English section";
        return std::nullopt;
    }
    index.m_english.reserve(*englishCount);
    for (size_t i = 0; i < *englishCount; ++i) {
        const std::vector<std::string_view> fields = NextFields(rest);
        if (fields.size() != 2 || fields[0].empty() || fields[1].empty()) {
            errorOut = "malformed English entry " + std::to_string(i + 1);
            return std::nullopt;
        }
        index.m_english.push_back({fields[0], fields[1]});
    }
    const auto chineseOrder = [](const ChineseWord& a, const ChineseWord& b) { return a.chinese < b.chinese; };
    const auto englishOrder = [](const EnglishPhrase& a, const EnglishPhrase& b) { return a.english < b.english; };
    if (!std::is_sorted(index.m_chinese.begin(), index.m_chinese.end(), chineseOrder) ||
        !std::is_sorted(index.m_english.begin(), index.m_english.end(), englishOrder)) {
        errorOut = "the entries are not sorted";
        return std::nullopt;
    }
    return index;
}

const ChineseWord* DictionaryIndex::FindChinese(std::string_view chinese) const {
    const auto found =
        std::lower_bound(m_chinese.begin(), m_chinese.end(), chinese,
                         [](const ChineseWord& word, std::string_view key) { return word.chinese < key; });
    return found != m_chinese.end() && found->chinese == chinese ? &*found : nullptr;
}

std::optional<std::string_view> DictionaryIndex::FindEnglish(std::string_view lowerEnglish) const {
    const auto found =
        std::lower_bound(m_english.begin(), m_english.end(), lowerEnglish,
                         [](const EnglishPhrase& phrase, std::string_view key) { return phrase.english < key; });
    if (found != m_english.end() && found->english == lowerEnglish) {
        return found->chinese;
    }
    return std::nullopt;
}

std::string DefaultDictionaryPath() {
    return TOVRIK_DICTIONARY_INDEX;
}

std::filesystem::path InstalledDictionaryPath(const std::filesystem::path& executable) {
    return executable.parent_path().parent_path() / "share" / "tovrikocr" / "dictionary.idx";
}

std::string ChooseDictionaryPath(const std::string& option, const std::filesystem::path& executable) {
    if (!option.empty()) {
        return option;
    }
    std::error_code error;
    const std::filesystem::path installed = InstalledDictionaryPath(executable);
    if (!executable.empty() && std::filesystem::is_regular_file(installed, error)) {
        return installed.string();
    }
    return DefaultDictionaryPath();
}

} // namespace tovrik::standin
