#pragma once

#include "CedictReader.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tovrik::standin {

// Word counts of a Chinese corpus, one "word count [tag]" a line (the jieba dictionary).
struct WordFrequencies {
    std::unordered_map<std::string, double> counts;
    double total = 0;
};
[[nodiscard]] WordFrequencies ReadWordFrequencies(std::string_view text);

// The compact index that the stand-in loads (see DictionaryIndex.h for its layout):
// - each Chinese headword (ideographs only) with the cleaned first meaning of its main reading
//   (a single character's neutral-tone particle reading, else a common word over a proper
//   noun, else the reading with the most senses that are not cross references; glosses of six
//   words or more, which explain grammar, are left empty), a segmentation cost of
//   100 * -ln(share of the corpus) and whether it can be a measure word;
// - each English phrase of the senses with the one headword that ranks first for it: the lowest
//   of headword cost + 200 per earlier sense + 100 per earlier part of its sense + 200 for a proper
//   noun + 200 for a single character + 150 for a part noted as of a register or region
//   ("your (honorific)").
[[nodiscard]] std::string BuildDictionaryIndex(const std::vector<CedictEntry>& entries,
                                               const WordFrequencies& frequencies);

} // namespace tovrik::standin
