#pragma once

#include <span>

namespace tovrik::standin {

// An English phrase in lower case and its Chinese counterpart. An empty side means the word of
// the other side is dropped when translated ("the" into Chinese, particles such as "的" into
// English).
struct DictionaryEntry {
    const char* english;
    const char* chinese;
};

[[nodiscard]] std::span<const DictionaryEntry> DictionaryEntries();

} // namespace tovrik::standin
