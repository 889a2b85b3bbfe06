#pragma once

#include "OcrLatinRuns.h"
#include "OcrPieces.h"

#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// Latin marks set apart between Chinese characters, as a terminal shows a man page's
// "以 '-' , '(' , ')' 或 '!' 这些": the Chinese model reads few of them, or none ("以，（1，）或：
// 这些"), and its reading then takes far less room than the line's ink. Such a reading is made
// again from the line's clusters of ink, cut apart where the white between them is as wide as a
// space, each cluster read by both models (see ClusterText).

// The width of a reading in Chinese characters: ideographs and full-width marks count one, any
// other character (a space too) a half, as a terminal sets them.
[[nodiscard]] double WidthInCharacters(std::string_view text);

// The distance from one Chinese character to the next in a reading: the median over the pairs of
// ideographs read one after the other (the model's boxes stand where a character starts, give or
// take a character, so only their median distance counts). 0 with fewer than three such pairs.
[[nodiscard]] int IdeographPitch(const std::vector<ReadSymbol>& symbols);

// True when a reading leaves unexplained two and a half characters or more of a piece `width`
// columns wide: that many more than the spaces a line may lose between its sentences.
[[nodiscard]] bool ReadsTooShort(std::string_view text, int width, int pitch);

// The clusters of ink in a row of columns (`ink`, the first at column `offset`): runs of inked
// columns with less than `minGap` white columns between them.
[[nodiscard]] std::vector<ColumnSpan> InkClusters(const std::vector<bool>& ink, int offset, int minGap);

// The clusters of a line, as the Chinese model read each of them alone, in groups: a cluster in
// which it is fairly sure of a Chinese character on its own, the clusters between such ones
// together, to be read by the Latin model as one piece (it reads a mark alone no better than
// the Chinese one: "'-'" as "ret").
struct ClusterGroup {
    size_t first = 0;
    size_t count = 0;
    bool chinese = false;
};
[[nodiscard]] std::vector<ClusterGroup> GroupClusters(const std::vector<PieceReading>& chineseReadings);

// What a group of clusters read by the Latin model holds: its reading where the model is sure of
// every character of it and none of them is a rule ("|", the edge of a character cut off);
// otherwise what the Chinese model read of its clusters.
[[nodiscard]] std::string LatinGroupText(const PieceReading& latin, const std::string& chinese);

// The clusters' texts, a space between each two (a CJK character's spaces go when the line is
// cleaned).
[[nodiscard]] std::string JoinClusters(const std::vector<std::string>& clusterTexts);

// True when the (cleaned) reading made of the clusters explains the piece's width better than the
// reading it would replace, and holds as many Chinese characters.
[[nodiscard]] bool ExplainsBetter(std::string_view clustersReading, std::string_view reading, int width, int pitch);

} // namespace tovrik::standin
