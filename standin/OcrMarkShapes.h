#pragma once

#include "OcrImage.h"

#include <string>
#include <vector>

namespace tovrik::standin {

// Latin marks standing alone between Chinese characters ("'-' , '(' , ')'"), told apart by their
// shape. Neither model reads them there: without letters beside them the Latin one reads
// "'-' , '(' ," as "heyy tye", the Chinese one as "，（1，". The shapes are those of any font's
// marks, measured against the line (`top`, `height`: its rows) and a Chinese character's pitch:
// the quote ' and ", - , . : ; ! ( and ). A character is the blobs that share columns; a space
// stands between two characters whose middles are three quarters of a Chinese character apart
// or more (a terminal's cell is half of one). Nothing when a blob is none of these marks: a
// letter, a digit, a bit of a Chinese character.
[[nodiscard]] std::string MarksText(const std::vector<InkBlob>& blobs, int top, int height, int pitch);

} // namespace tovrik::standin
