#pragma once

#include "OcrPieces.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tovrik::standin {

// Latin words and numbers within Chinese text: the Chinese model reads them, but misreads what
// the Latin one reads well (a dotted zero as 6: "1024" as "1624"; "G" as "6"; "locale" as
// "tlocate"). The runs of a Chinese reading's characters that are Latin letters and digits, with
// the marks that join them within a word ("full-iso", "10*1024", "KiB=K"), are read again by
// the Latin model from the picture, each run on its own.
struct SymbolRun {
    size_t first = 0;
    size_t count = 0;
};

// The runs of a reading's characters, left to right. A run ends with its word; it starts with a
// letter or digit, or the dashes of an option before one ("--bLock-size"), and ends with a letter
// or digit. Runs of lowercase letters, and words of three capitals or more, are left out: the
// Chinese model reads them as well as the Latin one; it misreads digits, a lone capital or two
// ("G" as "6"), and an l as L.
[[nodiscard]] std::vector<SymbolRun> LatinRuns(const std::vector<ReadSymbol>& symbols);

// The characters of a run as the model read them.
[[nodiscard]] std::string RunText(const std::vector<ReadSymbol>& symbols, const SymbolRun& run);

// The columns of the picture a run is read from: its ink and some white on both sides (a third
// of the line's height), though never more than half the way to the characters beside it.
struct ColumnSpan {
    int left = 0;
    int right = 0;
};
[[nodiscard]] ColumnSpan RunSpan(const std::vector<ReadSymbol>& symbols, const SymbolRun& run, int lineHeight);

// What the Latin model read of a run, as it replaces the Chinese model's, or nothing. The crop
// may take in a bit of the marks beside the run ("K," for "K、"), so the reading's longest run of
// letters and digits counts. The Latin model has to be sure of each of its characters and read
// as many as the Chinese one, letters and digits where it read them: one more or one less is
// more often a bit of the character beside the run, or a letter the crop cut off, than one the
// Chinese model missed. The marks within the run stay as the Chinese model read them (the Latin
// one reads "=" between small letters as "-"), and so does the case of letters whose capital is
// the small one larger (c, k, o, s, v, w, x, z): the Chinese model saw them beside the line's
// other letters, the Latin one alone.
[[nodiscard]] std::string LatinReplacement(const std::string& chinese, const PieceReading& latin);

// The model's text with the runs given replaced by the texts given (indexed alike; an empty text
// leaves its run as read).
[[nodiscard]] std::string WithReplacedRuns(const PieceReading& reading, const std::vector<SymbolRun>& runs,
                                           const std::vector<std::string>& replacements);

// Where each character stands in the model's text: the characters' texts follow each other in it
// with nothing but white space between them. False (and the places unset) when they do not.
[[nodiscard]] bool PlaceSymbols(const std::string& raw, std::vector<ReadSymbol>& symbols);

} // namespace tovrik::standin
