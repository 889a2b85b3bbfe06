#include "ChineseSegmenter.h"

#include "Utf8.h"

#include <algorithm>
#include <limits>

namespace tovrik::standin {

namespace {

// More than any word of the corpus costs (its rarest words cost about 1,700).
constexpr long kUnknownCost = 2500;
// Longer headwords are sayings and names; no sentence needs more to be split well.
constexpr size_t kLongestWord = 12;

} // namespace

std::vector<ChineseSegment> SegmentChinese(const std::u32string& ideographs, const DictionaryIndex& index) {
    const size_t n = ideographs.size();
    const size_t longest = std::min(index.LongestChinese(), kLongestWord);
    // best[i]: least cost of the first i characters; from[i]: where the last word of it starts.
    std::vector<long> best(n + 1, std::numeric_limits<long>::max());
    std::vector<size_t> from(n + 1, 0);
    std::vector<const ChineseWord*> wordAt(n + 1, nullptr);
    best[0] = 0;
    for (size_t start = 0; start < n; ++start) {
        std::string key;
        for (size_t length = 1; length <= longest && start + length <= n; ++length) {
            key += EncodeUtf8(std::u32string_view(&ideographs[start + length - 1], 1));
            const ChineseWord* word = index.FindChinese(key);
            if (word == nullptr && length > 1) {
                continue;
            }
            const long cost = best[start] + (word != nullptr ? word->cost : kUnknownCost);
            if (cost < best[start + length]) {
                best[start + length] = cost;
                from[start + length] = start;
                wordAt[start + length] = word;
            }
        }
    }
    std::vector<ChineseSegment> segments;
    for (size_t end = n; end > 0; end = from[end]) {
        segments.push_back({ideographs.substr(from[end], end - from[end]), wordAt[end]});
    }
    std::reverse(segments.begin(), segments.end());
    return segments;
}

} // namespace tovrik::standin
