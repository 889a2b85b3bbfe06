#include "Dictionary.h"

#include "DictionaryData.h"
#include "OcrText.h"
#include "Utf8.h"

#include <algorithm>
#include <vector>

namespace tovrik::standin {

namespace {

struct PunctuationPair {
    char32_t ascii;
    char32_t fullWidth;
};

// English punctuation and its Chinese (full-width) form; the later pairs only map one way.
constexpr PunctuationPair kPunctuation[] = {
    {U',', U'，'}, {U'.', U'。'}, {U'?', U'？'}, {U'!', U'！'}, {U':', U'：'}, {U';', U'；'},
    {U'(', U'（'}, {U')', U'）'}, {U',', U'、'}, {U'"', U'“'},  {U'"', U'”'},  {U'.', U'．'},
};

bool IsAsciiAlnum(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsIdeograph(char32_t c) {
    return IsCjk(c) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFFEF);
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

// Pieces of a translation and how they join: words of a spaced language take a space between
// them, punctuation sticks to what stands before it.
enum class PieceKind { SpacedWord, Glyph, Punctuation, Opening };
struct Piece {
    PieceKind kind;
    std::string text;
};

std::string Join(const std::vector<Piece>& pieces) {
    std::string out;
    const Piece* previous = nullptr;
    for (const Piece& piece : pieces) {
        const bool spaced = piece.kind == PieceKind::SpacedWord || piece.kind == PieceKind::Opening;
        if (previous != nullptr && spaced && previous->kind != PieceKind::Opening &&
            (previous->kind == PieceKind::SpacedWord || previous->kind == PieceKind::Punctuation)) {
            out += ' ';
        }
        out += piece.text;
        previous = &piece;
    }
    return out;
}

} // namespace

Dictionary::Dictionary() {
    for (const DictionaryEntry& entry : DictionaryEntries()) {
        const std::string english = entry.english;
        const std::vector<char32_t> decoded = DecodeUtf8(entry.chinese);
        const std::u32string chinese(decoded.begin(), decoded.end());
        if (!english.empty()) {
            m_englishToChinese.emplace(english, entry.chinese);
            m_longestEnglish = std::max<size_t>(m_longestEnglish, std::count(english.begin(), english.end(), ' ') + 1);
        }
        if (!chinese.empty()) {
            m_chineseToEnglish.emplace(chinese, english);
            m_longestChinese = std::max(m_longestChinese, chinese.size());
        }
    }
}

bool Dictionary::HasChinese(std::string_view utf8) {
    const std::vector<char32_t> text = DecodeUtf8(utf8);
    return std::any_of(text.begin(), text.end(), IsIdeograph);
}

std::string Dictionary::TranslateLine(std::string_view utf8, Language from) const {
    return from == Language::English ? FromEnglish(utf8) : FromChinese(utf8);
}

// The word as it is, or its stem when only that is known: "dogs" finds "dog", "saved" "save".
const std::string* Dictionary::FindEnglishWord(const std::string& lowerWord) const {
    static constexpr std::pair<std::string_view, std::string_view> kSuffixes[] = {
        {"'s", ""}, {"ies", "y"}, {"es", ""}, {"s", ""}, {"ed", ""}, {"ed", "e"}, {"ing", ""}, {"ing", "e"}};
    if (const auto it = m_englishToChinese.find(lowerWord); it != m_englishToChinese.end()) {
        return &it->second;
    }
    for (const auto& [suffix, replacement] : kSuffixes) {
        if (lowerWord.size() > suffix.size() + 2 && lowerWord.ends_with(suffix)) {
            const std::string stem = lowerWord.substr(0, lowerWord.size() - suffix.size()) + std::string(replacement);
            if (const auto it = m_englishToChinese.find(stem); it != m_englishToChinese.end()) {
                return &it->second;
            }
        }
    }
    return nullptr;
}

std::string Dictionary::FromEnglish(std::string_view utf8) const {
    const std::vector<char32_t> text = DecodeUtf8(utf8);
    // Word boundaries first, so that phrases can be matched over several words.
    std::vector<std::pair<size_t, size_t>> words;
    std::vector<Piece> pieces;
    size_t i = 0;
    while (i < text.size()) {
        if (IsAsciiAlnum(text[i])) {
            const size_t end = WordEnd(text, i);
            words.emplace_back(i, end);
            i = end;
            continue;
        }
        words.emplace_back(i, i);
        ++i;
    }
    for (size_t w = 0; w < words.size();) {
        const auto [begin, end] = words[w];
        if (begin == end) {
            const char32_t c = text[begin];
            const auto mark = std::find_if(std::begin(kPunctuation), std::end(kPunctuation),
                                           [c](const PunctuationPair& p) { return p.ascii == c; });
            if (mark != std::end(kPunctuation)) {
                pieces.push_back({PieceKind::Glyph, EncodeUtf8(std::u32string(1, mark->fullWidth))});
            } else if (c != ' ' && c != '\t') {
                pieces.push_back({PieceKind::Glyph, EncodeUtf8(std::u32string(1, c))});
            }
            ++w;
            continue;
        }
        // The longest run of words, separated by single spaces, that the dictionary knows.
        size_t matched = 0;
        const std::string* chinese = nullptr;
        std::string phrase = Lower(Slice(text, begin, end));
        std::vector<std::string> candidates{phrase};
        for (size_t n = 1; n < m_longestEnglish && w + 2 * n < words.size(); ++n) {
            const auto space = words[w + 2 * n - 1];
            const auto next = words[w + 2 * n];
            if (space.first != space.second || text[space.first] != ' ' || next.first == next.second) {
                break;
            }
            phrase += ' ' + Lower(Slice(text, next.first, next.second));
            candidates.push_back(phrase);
        }
        for (size_t n = candidates.size(); n > 1 && chinese == nullptr; --n) {
            if (const auto it = m_englishToChinese.find(candidates[n - 1]); it != m_englishToChinese.end()) {
                chinese = &it->second;
                matched = n;
            }
        }
        if (chinese == nullptr) {
            chinese = FindEnglishWord(candidates.front());
            matched = 1;
        }
        if (chinese == nullptr) {
            pieces.push_back({PieceKind::SpacedWord, Slice(text, begin, end)});
        } else if (!chinese->empty()) {
            pieces.push_back({PieceKind::Glyph, *chinese});
        }
        w += 2 * matched - 1;
    }
    return Join(pieces);
}

std::string Dictionary::FromChinese(std::string_view utf8) const {
    const std::vector<char32_t> text = DecodeUtf8(utf8);
    std::vector<Piece> pieces;
    size_t i = 0;
    while (i < text.size()) {
        const char32_t c = text[i];
        if (IsIdeograph(c)) {
            size_t run = i;
            while (run < text.size() && run - i < m_longestChinese && IsIdeograph(text[run])) {
                ++run;
            }
            size_t length = run - i;
            auto found = m_chineseToEnglish.end();
            for (; length > 0; --length) {
                found = m_chineseToEnglish.find(
                    std::u32string(text.begin() + static_cast<long>(i), text.begin() + static_cast<long>(i + length)));
                if (found != m_chineseToEnglish.end()) {
                    break;
                }
            }
            if (found == m_chineseToEnglish.end()) {
                pieces.push_back({PieceKind::SpacedWord, EncodeUtf8(std::u32string(1, c))});
                ++i;
            } else {
                if (!found->second.empty()) {
                    pieces.push_back({PieceKind::SpacedWord, found->second});
                }
                i += length;
            }
            continue;
        }
        if (IsAsciiAlnum(c)) {
            const size_t end = WordEnd(text, i);
            pieces.push_back({PieceKind::SpacedWord, Slice(text, i, end)});
            i = end;
            continue;
        }
        const auto mark = std::find_if(std::begin(kPunctuation), std::end(kPunctuation),
                                       [c](const PunctuationPair& p) { return p.fullWidth == c || p.ascii == c; });
        if (mark != std::end(kPunctuation)) {
            const bool opening = mark->ascii == '(' || c == U'“';
            pieces.push_back({opening ? PieceKind::Opening : PieceKind::Punctuation,
                              std::string(1, static_cast<char>(mark->ascii))});
        } else if (c != ' ' && c != '\t' && c != 0x3000) {
            pieces.push_back({PieceKind::SpacedWord, EncodeUtf8(std::u32string(1, c))});
        }
        ++i;
    }
    std::string out = Join(pieces);
    if (!out.empty() && out.front() >= 'a' && out.front() <= 'z') {
        out.front() = static_cast<char>(out.front() - 'a' + 'A');
    }
    return out;
}

} // namespace tovrik::standin
