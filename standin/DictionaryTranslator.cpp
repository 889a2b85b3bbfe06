#include "DictionaryTranslator.h"

#include "ChineseSegmenter.h"
#include "EnglishMorphology.h"
#include "OcrText.h"
#include "Punctuation.h"
#include "Utf8.h"

#include <algorithm>
#include <vector>

namespace tovrik::standin {

namespace {

// Phrases of the dictionary's English side have at most four words.
constexpr size_t kLongestPhrase = 4;

bool IsAsciiAlnum(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsCjkCharacter(char32_t c) {
    return IsCjk(c) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFFEF);
}

bool IsSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == 0x3000 || c == 0xA0;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// An ASCII word with the apostrophes, dots and hyphens inside it: "don't", "ZuDur.ini", "2.5".
size_t WordEnd(const std::vector<char32_t>& text, size_t begin) {
    size_t end = begin;
    while (end < text.size()) {
        if (IsAsciiAlnum(text[end])) {
            ++end;
        } else if ((text[end] == '\'' || text[end] == '.' || text[end] == '-') && end + 1 < text.size() &&
                   IsAsciiAlnum(text[end + 1]) && end > begin) {
            ++end;
        } else {
            break;
        }
    }
    return end;
}

std::string Slice(const std::vector<char32_t>& text, size_t begin, size_t end) {
    return EncodeUtf8(std::u32string(text.begin() + static_cast<long>(begin), text.begin() + static_cast<long>(end)));
}

// Pieces of a translation and how they join: Latin words take a space between them (and, in
// English, after punctuation), Chinese glyphs none; punctuation sticks to what stands before
// it, an opening mark to what follows it.
enum class PieceKind { Word, Glyph, Punctuation, Opening };
struct Piece {
    PieceKind kind;
    std::string text;
};

std::string Join(const std::vector<Piece>& pieces, bool english) {
    std::string out;
    const Piece* previous = nullptr;
    for (const Piece& piece : pieces) {
        if (previous != nullptr) {
            const bool startsWord = piece.kind == PieceKind::Word || piece.kind == PieceKind::Opening;
            const bool afterWord =
                previous->kind == PieceKind::Word || (english && previous->kind == PieceKind::Punctuation);
            if (startsWord && afterWord && (english || piece.kind == PieceKind::Word)) {
                out += ' ';
            }
        }
        out += piece.text;
        previous = &piece;
    }
    return out;
}

// Numbers and demonstratives, after which a measure word carries no meaning of its own:
// "三个" is "three", "这家" is "this".
bool CountsSomething(const std::u32string& word) {
    static constexpr std::u32string_view kCounting = U"一二三四五六七八九十百千万两几这那哪每半多";
    return !word.empty() && kCounting.find(word.back()) != std::u32string_view::npos;
}

Piece PunctuationPiece(char32_t c, bool toEnglish, bool& quoteOpen) {
    const bool opening = IsOpeningMark(c) || (c == '"' && !quoteOpen);
    if (c == '"') {
        quoteOpen = !quoteOpen;
    }
    char32_t mapped = toEnglish ? ToEnglishPunctuation(c) : ToChinesePunctuation(c);
    if (!toEnglish && c == '"') {
        mapped = opening ? U'“' : U'”';
    }
    return {opening ? PieceKind::Opening : PieceKind::Punctuation,
            EncodeUtf8(std::u32string(1, mapped != 0 ? mapped : c))};
}

} // namespace

std::string DictionaryTranslator::TranslateLine(std::string_view utf8, Language from) const {
    return from == Language::English ? FromEnglish(utf8) : FromChinese(utf8);
}

// The word as it is, or the first of its base forms the dictionary knows.
std::optional<std::string_view> DictionaryTranslator::FindEnglishWord(const std::string& lowerWord) const {
    if (const auto found = m_index.FindEnglish(lowerWord)) {
        return found;
    }
    for (const std::string& base : EnglishBaseForms(lowerWord)) {
        if (const auto found = m_index.FindEnglish(base)) {
            return found;
        }
    }
    return std::nullopt;
}

std::string DictionaryTranslator::FromEnglish(std::string_view utf8) const {
    const std::vector<char32_t> text = DecodeUtf8(utf8);
    // Words and single other characters, so that phrases can be matched over several words.
    struct Token {
        size_t begin;
        size_t end; // begin == end: the single character at begin
    };
    std::vector<Token> tokens;
    for (size_t i = 0; i < text.size();) {
        const size_t end = IsAsciiAlnum(text[i]) ? WordEnd(text, i) : i;
        tokens.push_back({i, end});
        i = std::max(end, i + 1);
    }
    auto isWord = [&](size_t t) { return t < tokens.size() && tokens[t].begin != tokens[t].end; };
    auto lowerWord = [&](size_t t) { return Lower(Slice(text, tokens[t].begin, tokens[t].end)); };

    std::vector<Piece> pieces;
    bool quoteOpen = false;
    for (size_t t = 0; t < tokens.size();) {
        if (!isWord(t)) {
            const char32_t c = text[tokens[t].begin];
            if (IsCjkCharacter(c)) {
                pieces.push_back({PieceKind::Glyph, EncodeUtf8(std::u32string(1, c))});
            } else if (!IsSpace(c)) {
                pieces.push_back(PunctuationPiece(c, false, quoteOpen));
            }
            ++t;
            continue;
        }
        // The words that follow this one, each after a single space.
        std::vector<std::string> run{lowerWord(t)};
        while (run.size() < kLongestPhrase && isWord(t + 2 * run.size()) && !isWord(t + 2 * run.size() - 1) &&
               text[tokens[t + 2 * run.size() - 1].begin] == ' ') {
            run.push_back(lowerWord(t + 2 * run.size()));
        }
        size_t matched = 0;
        std::optional<std::string_view> chinese;
        for (size_t n = run.size(); n > 1 && !chinese; --n) {
            std::string phrase = run[0];
            for (size_t k = 1; k + 1 < n; ++k) {
                phrase += ' ' + run[k];
            }
            chinese = FindEnglishWord(phrase + ' ' + run[n - 1]);
            if (!chinese) {
                // Only the last word of a phrase inflects: "train stations".
                for (const std::string& base : EnglishBaseForms(run[n - 1])) {
                    if ((chinese = m_index.FindEnglish(phrase + ' ' + base))) {
                        break;
                    }
                }
            }
            matched = chinese ? n : 0;
        }
        const std::string& word = run.front();
        std::string negation;
        if (!chinese) {
            matched = 1;
            if (word == "a" || word == "an" || word == "the" || word == "to") {
                t += 2; // the word and the space after it
                continue;
            }
            if (word.ends_with("n't") && word.size() > 3) {
                // "can't" -> not + "can", "isn't" -> not + "is"; the auxiliary of "don't" and
                // "didn't" has no word of its own in Chinese.
                const std::string stem = word == "won't"   ? "will"
                                         : word == "can't" ? "can"
                                                           : word.substr(0, word.size() - 3);
                negation = std::string(m_index.FindEnglish("not").value_or("not"));
                if (stem != "do" && stem != "does" && stem != "did") {
                    chinese = FindEnglishWord(stem);
                }
                if (!chinese) {
                    pieces.push_back({PieceKind::Glyph, negation});
                    ++t;
                    continue;
                }
            } else {
                chinese = FindEnglishWord(word);
            }
        }
        if (!negation.empty()) {
            pieces.push_back({PieceKind::Glyph, negation});
        }
        if (chinese) {
            pieces.push_back({PieceKind::Glyph, std::string(*chinese)});
        } else {
            pieces.push_back({PieceKind::Word, Slice(text, tokens[t].begin, tokens[t].end)});
        }
        t += 2 * matched - 1;
    }
    return Join(pieces, false);
}

std::string DictionaryTranslator::FromChinese(std::string_view utf8) const {
    const std::vector<char32_t> text = DecodeUtf8(utf8);
    std::vector<Piece> pieces;
    bool quoteOpen = false;
    for (size_t i = 0; i < text.size();) {
        const char32_t c = text[i];
        if (IsCjkCharacter(c)) {
            size_t end = i;
            while (end < text.size() && IsCjkCharacter(text[end])) {
                ++end;
            }
            const std::vector<ChineseSegment> segments = SegmentChinese(
                std::u32string(text.begin() + static_cast<long>(i), text.begin() + static_cast<long>(end)), m_index);
            const bool afterNumber = !pieces.empty() && pieces.back().kind == PieceKind::Word &&
                                     std::isdigit(static_cast<unsigned char>(pieces.back().text.back())) != 0;
            for (size_t s = 0; s < segments.size(); ++s) {
                const ChineseSegment& segment = segments[s];
                if (segment.word == nullptr) {
                    pieces.push_back({PieceKind::Word, EncodeUtf8(segment.text)});
                    continue;
                }
                const bool counted = s > 0 ? CountsSomething(segments[s - 1].text) : afterNumber;
                if (segment.word->english.empty() || (segment.word->classifier && counted)) {
                    continue;
                }
                pieces.push_back({PieceKind::Word, std::string(segment.word->english)});
            }
            i = end;
            continue;
        }
        if (IsAsciiAlnum(c)) {
            const size_t end = WordEnd(text, i);
            pieces.push_back({PieceKind::Word, Slice(text, i, end)});
            i = end;
            continue;
        }
        if (!IsSpace(c)) {
            pieces.push_back(PunctuationPiece(c, true, quoteOpen));
        }
        ++i;
    }
    std::string out = Join(pieces, true);
    // The sentence's first letter, after any opening quote or bracket.
    const size_t first = out.find_first_not_of("\"'([ ");
    if (first != std::string::npos && out[first] >= 'a' && out[first] <= 'z') {
        out[first] = static_cast<char>(out[first] - 'a' + 'A');
    }
    return out;
}

} // namespace tovrik::standin
