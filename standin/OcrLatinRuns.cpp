#include "OcrLatinRuns.h"

#include "Utf8.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tovrik::standin {

namespace {

// Marks that stand within a Latin word or number.
constexpr std::string_view kJoiners = "-._*=/+";
// Marks of options before a word ("--block-size"), taken into its run: read apart from them, the
// word loses its first letter to the crop's edge.
constexpr char kOptionMark = '-';
// Letters whose capital is the small one larger.
constexpr std::string_view kSizedLetters = "ckosvwxz";

char32_t Narrow(char32_t c) {
    // The full-width forms as well: the Chinese model sets digits and letters so beside its text.
    return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c;
}

bool IsLetterOrDigit(const ReadSymbol& symbol) {
    const std::vector<char32_t> text = DecodeUtf8(symbol.text);
    if (text.size() != 1) {
        return false;
    }
    const char32_t c = Narrow(text[0]);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsJoiner(const ReadSymbol& symbol) {
    return symbol.text.size() == 1 && kJoiners.find(symbol.text[0]) != std::string_view::npos;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Lowercase words, and words of three capitals or more, the Chinese model reads as well as the
// Latin one; it misreads digits, a lone capital or two, and an l as L.
bool Doubtful(const std::vector<ReadSymbol>& symbols, const SymbolRun& run) {
    int digits = 0;
    int capitals = 0;
    int small = 0;
    for (size_t k = run.first; k < run.first + run.count; ++k) {
        const std::vector<char32_t> text = DecodeUtf8(symbols[k].text);
        const char32_t c = text.size() == 1 ? Narrow(text[0]) : 0;
        digits += c >= '0' && c <= '9' ? 1 : 0;
        capitals += c >= 'A' && c <= 'Z' ? 1 : 0;
        small += c >= 'a' && c <= 'z' ? 1 : 0;
    }
    return digits > 0 || (capitals > 0 && (small > 0 || capitals < 3));
}

// The runs of letters and digits, all of them.
std::vector<SymbolRun> AllRuns(const std::vector<ReadSymbol>& symbols) {
    std::vector<SymbolRun> runs;
    for (size_t k = 0; k < symbols.size(); ++k) {
        if (!IsLetterOrDigit(symbols[k])) {
            continue;
        }
        size_t first = k;
        while (first > 0 && !symbols[first].startsWord && symbols[first - 1].text.size() == 1 &&
               symbols[first - 1].text[0] == kOptionMark) {
            --first;
        }
        size_t last = k;
        for (size_t next = k + 1; next < symbols.size() && !symbols[next].startsWord &&
                                  (IsLetterOrDigit(symbols[next]) || IsJoiner(symbols[next]));
             ++next) {
            last = IsLetterOrDigit(symbols[next]) ? next : last;
        }
        runs.push_back({first, last - first + 1});
        k = last;
    }
    return runs;
}

} // namespace

std::vector<SymbolRun> LatinRuns(const std::vector<ReadSymbol>& symbols) {
    std::vector<SymbolRun> runs = AllRuns(symbols);
    std::erase_if(runs, [&](const SymbolRun& run) { return !Doubtful(symbols, run); });
    return runs;
}

std::string RunText(const std::vector<ReadSymbol>& symbols, const SymbolRun& run) {
    std::string text;
    for (size_t k = run.first; k < run.first + run.count && k < symbols.size(); ++k) {
        text += symbols[k].text;
    }
    return text;
}

ColumnSpan RunSpan(const std::vector<ReadSymbol>& symbols, const SymbolRun& run, int lineHeight) {
    const int pad = lineHeight / 3;
    const ReadSymbol& first = symbols[run.first];
    const ReadSymbol& last = symbols[run.first + run.count - 1];
    int left = first.left - pad;
    int right = last.right + pad;
    if (run.first > 0) {
        left = std::max(left, (symbols[run.first - 1].right + first.left) / 2);
    }
    if (run.first + run.count < symbols.size()) {
        right = std::min(right, (last.right + symbols[run.first + run.count].left + 1) / 2);
    }
    return {std::min(left, first.left), std::max(right, last.right)};
}

std::string LatinReplacement(const std::string& chinese, const PieceReading& latin) {
    SymbolRun best;
    for (const SymbolRun& run : AllRuns(latin.symbols)) {
        best = run.count > best.count ? run : best;
    }
    const auto begin = latin.symbols.begin() + static_cast<long>(best.first);
    const auto end = begin + static_cast<long>(best.count);
    if (best.count == 0 || std::any_of(begin, end, [](const ReadSymbol& symbol) {
            return symbol.confidence < kSureLatin || symbol.text.size() != 1;
        })) {
        return {};
    }
    std::string text = RunText(latin.symbols, best);
    if (text.size() != chinese.size()) {
        return {};
    }
    for (size_t k = 0; k < text.size(); ++k) {
        const bool letterOrDigit = std::isalnum(static_cast<unsigned char>(text[k])) != 0;
        if (letterOrDigit != (std::isalnum(static_cast<unsigned char>(chinese[k])) != 0)) {
            return {};
        }
        const bool sized =
            Lower(text[k]) == Lower(chinese[k]) && kSizedLetters.find(Lower(text[k])) != std::string_view::npos;
        if (!letterOrDigit || sized) {
            text[k] = chinese[k];
        }
    }
    return text;
}

std::string WithReplacedRuns(const PieceReading& reading, const std::vector<SymbolRun>& runs,
                             const std::vector<std::string>& replacements) {
    std::string text = reading.raw;
    // From the right, so that the places of the runs before stay.
    for (size_t k = std::min(runs.size(), replacements.size()); k-- > 0;) {
        const SymbolRun& run = runs[k];
        if (replacements[k].empty() || run.count == 0 || run.first + run.count > reading.symbols.size()) {
            continue;
        }
        const ReadSymbol& last = reading.symbols[run.first + run.count - 1];
        const size_t begin = reading.symbols[run.first].at;
        const size_t end = last.at + last.text.size();
        if (begin <= end && end <= text.size()) {
            text.replace(begin, end - begin, replacements[k]);
        }
    }
    return text;
}

bool PlaceSymbols(const std::string& raw, std::vector<ReadSymbol>& symbols) {
    size_t at = 0;
    for (ReadSymbol& symbol : symbols) {
        while (at < raw.size() && (raw[at] == ' ' || raw[at] == '\n' || raw[at] == '\r' || raw[at] == '\t')) {
            ++at;
        }
        if (symbol.text.empty() || raw.compare(at, symbol.text.size(), symbol.text) != 0) {
            return false;
        }
        symbol.at = at;
        at += symbol.text.size();
    }
    return true;
}

} // namespace tovrik::standin
