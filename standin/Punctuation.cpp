#include "Punctuation.h"

namespace tovrik::standin {

namespace {

struct Pair {
    char32_t ascii;
    char32_t wide;
};

// The first pair of an ASCII mark is its Chinese form; the rest only map to ASCII.
constexpr Pair kPairs[] = {
    {U',', U'，'}, {U'.', U'。'}, {U'?', U'？'}, {U'!', U'！'}, {U':', U'：'}, {U';', U'；'}, {U'(', U'（'},
    {U')', U'）'}, {U'"', U'“'},  {U'\'', U'‘'}, {U'[', U'【'}, {U']', U'】'}, {U'~', U'～'}, {U'%', U'％'},
    {U',', U'、'}, {U'"', U'”'},  {U'\'', U'’'}, {U'"', U'《'}, {U'"', U'》'}, {U'"', U'「'}, {U'"', U'」'},
    {U'.', U'．'}, {U'-', U'—'},  {U'.', U'…'},  {U'<', U'〈'}, {U'>', U'〉'}, {U'[', U'〔'}, {U']', U'〕'},
};

} // namespace

char32_t ToChinesePunctuation(char32_t ascii) {
    for (const Pair& pair : kPairs) {
        if (pair.ascii == ascii) {
            return pair.wide;
        }
    }
    return 0;
}

char32_t ToEnglishPunctuation(char32_t wide) {
    for (const Pair& pair : kPairs) {
        if (pair.wide == wide) {
            return pair.ascii;
        }
    }
    // The rest of the full-width ASCII block: "＃" -> "#", "＆" -> "&".
    if (wide >= 0xFF01 && wide <= 0xFF5E) {
        const char32_t ascii = wide - 0xFF01 + 0x21;
        const bool letterOrDigit =
            (ascii >= '0' && ascii <= '9') || (ascii >= 'A' && ascii <= 'Z') || (ascii >= 'a' && ascii <= 'z');
        return letterOrDigit ? 0 : ascii;
    }
    return 0;
}

bool IsOpeningMark(char32_t c) {
    return c == '(' || c == '[' || c == U'（' || c == U'【' || c == U'“' || c == U'‘' || c == U'《' || c == U'「' ||
           c == U'〈' || c == U'〔';
}

} // namespace tovrik::standin
