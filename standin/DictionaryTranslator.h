#pragma once

#include "DictionaryIndex.h"

#include <string>
#include <string_view>

namespace tovrik::standin {

enum class Language { English, Chinese };

// Word-level translation with the dictionary, a line at a time. Chinese to English: the line
// is split into the dictionary's most probable words and each is replaced by its first
// meaning (particles that English leaves out, and measure words after a number or "this" /
// "that", are dropped). English to Chinese: each word, or the longest run of up to four words
// the dictionary knows as one phrase ("train station"), is replaced by the headword that ranks
// first for it, inflections found through their base forms; "a", "an", "the" and "to" (of
// infinitives and directions, which Chinese does not spell out) are dropped.
// Numbers, Latin words and unknown words stay as they are; punctuation takes the target
// language's width. No grammar: word order and agreement are the source's.
class DictionaryTranslator {
public:
    explicit DictionaryTranslator(const DictionaryIndex& index) : m_index(index) {}

    [[nodiscard]] std::string TranslateLine(std::string_view utf8, Language from) const;

private:
    [[nodiscard]] std::string FromEnglish(std::string_view utf8) const;
    [[nodiscard]] std::string FromChinese(std::string_view utf8) const;
    [[nodiscard]] std::optional<std::string_view> FindEnglishWord(const std::string& lowerWord) const;

    const DictionaryIndex& m_index;
};

} // namespace tovrik::standin
