#pragma once

#include <string>
#include <string_view>

namespace tovrik::standin {

// A text line as tesseract gives it, made into what a reader expects: trimmed, and without the
// spaces tesseract puts between Chinese characters (spaces between Latin words stay).
[[nodiscard]] std::string CleanLine(std::string_view utf8Line);

// True for ideographs, CJK punctuation and full-width forms: characters that Chinese text sets
// without spaces between them.
[[nodiscard]] bool IsCjk(char32_t codePoint);

// True for Chinese characters (ideographs), not their marks.
[[nodiscard]] bool IsIdeograph(char32_t codePoint);

// True when the text holds a Chinese character (an ideograph; marks and full-width forms aside).
[[nodiscard]] bool HasIdeograph(std::string_view utf8);

} // namespace tovrik::standin
