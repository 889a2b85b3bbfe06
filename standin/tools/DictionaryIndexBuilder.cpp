#include "DictionaryIndexBuilder.h"

#include "GlossCleaner.h"
#include "OcrText.h"
#include "Utf8.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace tovrik::standin {

namespace {

constexpr int kPerSense = 200;
constexpr int kPerPart = 100;
constexpr int kProperNoun = 200;
// A single character is often only part of words (省 "to save" is mostly "province").
constexpr int kSingleCharacter = 200;
// A part with a note of register or region ("your (honorific)", "(Tw) saddle horse").
constexpr int kMarkedUse = 150;
// Words the corpus never saw count as half an occurrence.
constexpr double kUnseenCount = 0.5;

bool IsIdeographWord(std::string_view utf8) {
    const std::vector<char32_t> text = DecodeUtf8(utf8);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char32_t c) {
        return IsCjk(c) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFFEF);
    });
}

bool IsProperNoun(const CedictEntry& entry) {
    return !entry.pinyin.empty() && entry.pinyin.front() >= 'A' && entry.pinyin.front() <= 'Z';
}

size_t MeaningfulSenses(const CedictEntry& entry) {
    return static_cast<size_t>(std::count_if(entry.senses.begin(), entry.senses.end(), [](const std::string& s) {
        return !IsReferenceSense(s) && !IsClassifierSense(s);
    }));
}

struct Headword {
    const CedictEntry* main = nullptr;
    bool classifier = false;
    int cost = 0;
};

struct Ranked {
    int score = 0;
    std::string chinese;
};

} // namespace

WordFrequencies ReadWordFrequencies(std::string_view text) {
    WordFrequencies frequencies;
    std::istringstream in{std::string(text)};
    std::string word;
    double count = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        if (fields >> word >> count && count > 0) {
            frequencies.counts[word] += count;
            frequencies.total += count;
        }
    }
    return frequencies;
}

std::string BuildDictionaryIndex(const std::vector<CedictEntry>& entries, const WordFrequencies& frequencies) {
    const double total = std::max(frequencies.total, 1.0);
    auto costOf = [&](const std::string& word) {
        const auto found = frequencies.counts.find(word);
        const double count = found == frequencies.counts.end() ? kUnseenCount : found->second;
        return static_cast<int>(std::lround(-100.0 * std::log(count / total)));
    };

    // Sorted by the UTF-8 bytes, as the stand-in searches them.
    std::map<std::string, Headword> headwords;
    for (const CedictEntry& entry : entries) {
        if (!IsIdeographWord(entry.simplified)) {
            continue;
        }
        Headword& headword = headwords[entry.simplified];
        headword.classifier =
            headword.classifier || std::any_of(entry.senses.begin(), entry.senses.end(),
                                               [](const std::string& s) { return IsClassifierSense(s); });
        const size_t senses = MeaningfulSenses(entry);
        if (senses == 0) {
            continue;
        }
        const size_t best = headword.main == nullptr ? 0 : MeaningfulSenses(*headword.main);
        // A grammatical particle's neutral-tone reading (了 le5, 着 zhe5) over the full words of
        // the same character, a common word over a proper noun, then the reading with more senses.
        const bool particle = DecodeUtf8(entry.simplified).size() == 1 && entry.pinyin.ends_with('5');
        const bool better = headword.main == nullptr || (particle && !headword.main->pinyin.ends_with('5')) ||
                            (!headword.main->pinyin.ends_with('5') &&
                             ((IsProperNoun(*headword.main) && !IsProperNoun(entry)) ||
                              (IsProperNoun(*headword.main) == IsProperNoun(entry) && senses > best)));
        if (better) {
            headword.main = &entry;
        }
    }

    std::map<std::string, Ranked> english;
    std::ostringstream chinese;
    size_t chineseCount = 0;
    for (auto& [word, headword] : headwords) {
        if (headword.main == nullptr) {
            continue;
        }
        headword.cost = costOf(word);
        std::string gloss;
        for (const std::string& sense : headword.main->senses) {
            if (!IsReferenceSense(sense) && !IsClassifierSense(sense)) {
                gloss = CleanGloss(sense);
                gloss = IsDescription(gloss) ? std::string() : gloss;
                break;
            }
        }
        chinese << word << '\t' << gloss << '\t' << headword.cost << '\t' << (headword.classifier ? "c" : "-") << '\n';
        ++chineseCount;
    }
    for (const CedictEntry& entry : entries) {
        const auto found = headwords.find(entry.simplified);
        if (found == headwords.end() || found->second.main == nullptr) {
            continue;
        }
        const int base = found->second.cost + (IsProperNoun(entry) ? kProperNoun : 0) +
                         (DecodeUtf8(entry.simplified).size() == 1 ? kSingleCharacter : 0);
        int senseIndex = 0;
        for (const std::string& sense : entry.senses) {
            if (IsReferenceSense(sense) || IsClassifierSense(sense)) {
                continue;
            }
            int partIndex = 0;
            for (const auto& [key, marked] : EnglishKeys(sense)) {
                const int score = base + kPerSense * senseIndex + kPerPart * partIndex + (marked ? kMarkedUse : 0);
                auto [it, inserted] = english.try_emplace(key, Ranked{score, entry.simplified});
                if (!inserted && score < it->second.score) {
                    it->second = {score, entry.simplified};
                }
                ++partIndex;
            }
            ++senseIndex;
        }
    }
    std::ostringstream out;
    out << "tovrik-dictionary 1\nZ " << chineseCount << '\n' << chinese.str() << "E " << english.size() << '\n';
    for (const auto& [key, ranked] : english) {
        out << key << '\t' << ranked.chinese << '\n';
    }
    return out.str();
}

} // namespace tovrik::standin
