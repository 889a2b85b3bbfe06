#include "OcrSpacedMarks.h"

#include "OcrText.h"
#include "Utf8.h"

#include <algorithm>
#include <cmath>

namespace tovrik::standin {

namespace {

// The Chinese model's confidence in a cluster it reads a Chinese character in, below which the
// cluster is taken for marks ("')'" read as "站）" at 18).
constexpr int kFairlySureChinese = 50;
// What a reading may leave of its piece's width unexplained, in Chinese characters: a line loses
// the spaces after its sentences ("部分。 如果"), which the cleanup takes out beside a full-width mark.
constexpr double kUnexplainedCharacters = 2.5;

bool IsIdeographSymbol(const ReadSymbol& symbol) {
    const std::vector<char32_t> text = DecodeUtf8(symbol.text);
    return text.size() == 1 && IsIdeograph(text[0]);
}

size_t IdeographCount(std::string_view text) {
    const std::vector<char32_t> codePoints = DecodeUtf8(text);
    return static_cast<size_t>(
        std::count_if(codePoints.begin(), codePoints.end(), [](char32_t c) { return IsIdeograph(c); }));
}

double Unexplained(std::string_view text, int width, int pitch) {
    return static_cast<double>(width) / pitch - WidthInCharacters(text);
}

} // namespace

double WidthInCharacters(std::string_view text) {
    double width = 0;
    for (const char32_t c : DecodeUtf8(text)) {
        width += IsCjk(c) ? 1.0 : 0.5;
    }
    return width;
}

int IdeographPitch(const std::vector<ReadSymbol>& symbols) {
    std::vector<int> distances;
    for (size_t k = 1; k < symbols.size(); ++k) {
        if (IsIdeographSymbol(symbols[k - 1]) && IsIdeographSymbol(symbols[k]) &&
            symbols[k].left > symbols[k - 1].left) {
            distances.push_back(symbols[k].left - symbols[k - 1].left);
        }
    }
    if (distances.size() < 3) {
        return 0;
    }
    std::nth_element(distances.begin(), distances.begin() + static_cast<long>(distances.size() / 2), distances.end());
    return distances[distances.size() / 2];
}

bool ReadsTooShort(std::string_view text, int width, int pitch) {
    return pitch > 0 && Unexplained(text, width, pitch) >= kUnexplainedCharacters;
}

std::vector<ColumnSpan> InkClusters(const std::vector<bool>& ink, int offset, int minGap) {
    std::vector<ColumnSpan> clusters;
    int white = 0;
    for (size_t x = 0; x < ink.size(); ++x) {
        if (!ink[x]) {
            ++white;
            continue;
        }
        const int column = offset + static_cast<int>(x);
        if (clusters.empty() || white >= minGap) {
            clusters.push_back({column, column + 1});
        }
        clusters.back().right = column + 1;
        white = 0;
    }
    return clusters;
}

std::vector<ClusterGroup> GroupClusters(const std::vector<PieceReading>& chineseReadings) {
    std::vector<ClusterGroup> groups;
    for (size_t k = 0; k < chineseReadings.size(); ++k) {
        const PieceReading& reading = chineseReadings[k];
        const bool chinese = HasIdeograph(reading.text) && reading.confidence >= kFairlySureChinese;
        if (chinese || groups.empty() || groups.back().chinese) {
            groups.push_back({k, 0, chinese});
        }
        ++groups.back().count;
    }
    return groups;
}

std::string LatinGroupText(const PieceReading& latin, const std::string& chinese) {
    const bool sure = !latin.symbols.empty() &&
                      std::all_of(latin.symbols.begin(), latin.symbols.end(),
                                  [](const auto& s) { return s.confidence >= kSureLatin && s.text != "|"; });
    return sure ? latin.text : chinese;
}

std::string JoinClusters(const std::vector<std::string>& clusterTexts) {
    std::string joined;
    for (const std::string& text : clusterTexts) {
        if (!text.empty()) {
            joined += joined.empty() ? text : " " + text;
        }
    }
    return joined;
}

bool ExplainsBetter(std::string_view clustersReading, std::string_view reading, int width, int pitch) {
    return pitch > 0 && IdeographCount(clustersReading) >= IdeographCount(reading) &&
           std::abs(Unexplained(clustersReading, width, pitch)) < std::abs(Unexplained(reading, width, pitch));
}

} // namespace tovrik::standin
