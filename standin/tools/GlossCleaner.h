#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovrik::standin {

// A sense that only points elsewhere ("variant of 個|个[ge4]", "surname Wang", "see 葡萄",
// "used in ...", "abbr. for ..."): no meaning to translate with.
[[nodiscard]] bool IsReferenceSense(std::string_view sense);

// A sense that describes a measure word ("classifier for books", "(classifier used before a
// noun ...)").
[[nodiscard]] bool IsClassifierSense(std::string_view sense);

// The reading of a sense that goes into a translation: its first "; "-separated part without
// the parenthesised notes ("(literary)", "(Tw)"), "CL:" lists, Chinese cross references and
// their pinyin, and without the infinitive's "to ". Empty when nothing is left, as for
// "(completed action marker)".
[[nodiscard]] std::string CleanGloss(std::string_view sense);

// True for a gloss that explains grammar rather than translating: six words or more.
[[nodiscard]] bool IsDescription(std::string_view gloss);

// The English phrases a sense can be looked up by, lower case, in its order: "to open; to
// start (a business)" gives "open", "start". Parts with digits, Chinese or more than four words
// are left out; a
// closing "?", "!" or "." is dropped ("where?" gives "where").
// marked: the part has a note of register or region ("your (honorific)", "(Tw) ...").
struct EnglishKey {
    std::string key;
    bool marked = false;
};
[[nodiscard]] std::vector<EnglishKey> EnglishKeys(std::string_view sense);

} // namespace tovrik::standin
