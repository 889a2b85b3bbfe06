#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tovrik::standin {

struct SentenceScore {
    size_t sourceUnits = 0;       // English words (letters only) or Chinese ideographs
    size_t untranslatedUnits = 0; // of them, how many came back in the source's script
    bool keyFound = false;
};

// Scores one translation. English source: Latin words of the translation that also stand in the
// source count as untranslated. Chinese source: every ideograph of the translation does. A key
// is found when the translation holds one of the keys: as a substring for Chinese keys, at
// the start of a word for English ones ("restaurant" also finds "restaurants").
[[nodiscard]] SentenceScore ScoreTranslation(const std::string& source, const std::string& translation,
                                             bool sourceIsEnglish, const std::vector<std::string>& keys);

} // namespace tovrik::standin
