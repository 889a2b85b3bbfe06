#pragma once

#include "DictionaryIndex.h"

#include <string>
#include <vector>

namespace tovrik::standin {

// One word of a run of ideographs; word is null for a character the dictionary lacks.
struct ChineseSegment {
    std::u32string text;
    const ChineseWord* word = nullptr;
};

// Splits a run of ideographs into the dictionary's words along the path of least total cost
// (the most probable sequence of words by their corpus counts); a character the dictionary
// lacks costs more than any word, so it stands alone only where nothing covers it.
[[nodiscard]] std::vector<ChineseSegment> SegmentChinese(const std::u32string& ideographs,
                                                         const DictionaryIndex& index);

} // namespace tovrik::standin
