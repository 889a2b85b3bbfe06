#include "SentenceScore.h"

#include "OcrText.h"
#include "Utf8.h"

#include <algorithm>
#include <set>

namespace tovrik::standin {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string> LatinWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text + " ") {
        if (IsLetter(c)) {
            word += static_cast<char>(c | 0x20);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

size_t Ideographs(const std::string& text) {
    const std::vector<char32_t> decoded = DecodeUtf8(text);
    return static_cast<size_t>(std::count_if(decoded.begin(), decoded.end(), [](char32_t c) {
        return IsCjk(c) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFFEF);
    }));
}

bool HasKey(const std::string& translation, const std::string& key) {
    if (key.empty()) {
        return false;
    }
    if (!IsLetter(key.front())) {
        return translation.find(key) != std::string::npos;
    }
    std::string lower = translation;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return IsLetter(c) ? c | 0x20 : c; });
    for (size_t at = lower.find(key); at != std::string::npos; at = lower.find(key, at + 1)) {
        if (at == 0 || !IsLetter(lower[at - 1])) {
            return true;
        }
    }
    return false;
}

} // namespace

SentenceScore ScoreTranslation(const std::string& source, const std::string& translation, bool sourceIsEnglish,
                               const std::vector<std::string>& keys) {
    SentenceScore score;
    if (sourceIsEnglish) {
        const std::vector<std::string> sourceWords = LatinWords(source);
        const std::set<std::string> known(sourceWords.begin(), sourceWords.end());
        score.sourceUnits = sourceWords.size();
        for (const std::string& word : LatinWords(translation)) {
            score.untranslatedUnits += known.count(word);
        }
    } else {
        score.sourceUnits = Ideographs(source);
        score.untranslatedUnits = Ideographs(translation);
    }
    score.untranslatedUnits = std::min(score.untranslatedUnits, score.sourceUnits);
    score.keyFound =
        std::any_of(keys.begin(), keys.end(), [&](const std::string& key) { return HasKey(translation, key); });
    return score;
}

} // namespace tovrik::standin
