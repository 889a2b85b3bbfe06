#pragma once

namespace tovrik::standin {

// The full-width form of an ASCII punctuation mark that Chinese text sets wide ("," -> "，",
// "." -> "。", "?" -> "？"); 0 for other characters.
[[nodiscard]] char32_t ToChinesePunctuation(char32_t ascii);

// The ASCII form of a Chinese or full-width punctuation mark ("，", "、" -> ",", "。" -> ".",
// "“" -> '"', "《" -> '"'); 0 for other characters.
[[nodiscard]] char32_t ToEnglishPunctuation(char32_t wide);

// "(", "[" and opening quotes: marks that stick to the word after them, not before.
[[nodiscard]] bool IsOpeningMark(char32_t c);

} // namespace tovrik::standin
