#include "text/TextSearch.h"

namespace tovrik::text {

namespace {

unsigned char FoldAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Both sides start on a character boundary, so equal bytes keep their characters in step and the
// marker's own structure says which bytes are whole ASCII characters.
bool MatchesIgnoringCase(TextView text, std::size_t at, TextView marker) {
    if (text.size() - at < marker.size()) {
        return false;
    }
    for (std::size_t i = 0; i < marker.size(); ++i) {
        const auto want = static_cast<unsigned char>(marker[i]);
        const auto have = static_cast<unsigned char>(text[at + i]);
        if (IsGbkLeadByte(want) && i + 1 < marker.size()) {
            if (have != want ||
                static_cast<unsigned char>(text[at + i + 1]) != static_cast<unsigned char>(marker[i + 1])) {
                return false;
            }
            ++i;
        } else if (FoldAscii(have) != FoldAscii(want)) {
            return false;
        }
    }
    return true;
}

// `boundary` is a known character start at or before `from`; walking the character starts
// forward from it once keeps the search linear in the text.
std::size_t FindFrom(TextView text, TextView marker, std::size_t from, std::size_t boundary, bool ignoreCase) {
    if (from > text.size()) {
        return TextView::npos;
    }
    auto advanceTo = [&](std::size_t target) {
        while (boundary < target) {
            boundary += IsGbkLeadByte(static_cast<unsigned char>(text[boundary])) ? 2 : 1;
        }
    };
    if (!ignoreCase) {
        for (std::size_t candidate = text.find(marker, from); candidate != TextView::npos;
             candidate = text.find(marker, candidate + 1)) {
            advanceTo(candidate);
            if (boundary == candidate) {
                return candidate;
            }
        }
        return TextView::npos;
    }
    for (advanceTo(from); boundary <= text.size(); advanceTo(boundary + 1)) {
        if (MatchesIgnoringCase(text, boundary, marker)) {
            return boundary;
        }
        if (boundary == text.size()) {
            break;
        }
    }
    return TextView::npos;
}

} // namespace

std::size_t FindText(TextView text, TextView marker, std::size_t from, bool ignoreCase) {
    return FindFrom(text, marker, from, 0, ignoreCase);
}

std::vector<TextView> SplitText(TextView text, TextView separator) {
    std::vector<TextView> pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t found = FindFrom(text, separator, 0, 0, false); found != TextView::npos;
         found = FindFrom(text, separator, start, found, false)) {
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

} // namespace tovrik::text
