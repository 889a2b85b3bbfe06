#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace tovrik::standin {

enum class Language { English, Chinese };

// The translation engine of the stand-in: a small built-in English-Chinese dictionary of common
// words and phrases, matched longest first. Unknown words pass through unchanged. It is meant
// for exercising the program offline, not for reading.
class Dictionary {
public:
    Dictionary();

    // True when the text holds a Chinese character: such text is translated into English.
    [[nodiscard]] static bool HasChinese(std::string_view utf8);

    // One line of UTF-8 text from the given language into the other one.
    [[nodiscard]] std::string TranslateLine(std::string_view utf8, Language from) const;

private:
    [[nodiscard]] std::string FromEnglish(std::string_view utf8) const;
    [[nodiscard]] std::string FromChinese(std::string_view utf8) const;
    [[nodiscard]] const std::string* FindEnglishWord(const std::string& lowerWord) const;

    std::unordered_map<std::string, std::string> m_englishToChinese;
    std::unordered_map<std::u32string, std::string> m_chineseToEnglish;
    size_t m_longestEnglish = 1;
    size_t m_longestChinese = 1;
};

} // namespace tovrik::standin
