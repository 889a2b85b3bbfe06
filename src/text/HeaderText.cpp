#include "text/HeaderText.h"

#include "text/TextSearch.h"
#include "text/Trim.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace tovrik::text {

namespace {

constexpr TextView kLineBreak = "\r\n";
constexpr TextView kCookieSeparator = "; ";
constexpr TextView kDeletedSuffix = "=deleted";

// 1-based start positions below 1 mean the beginning, as the text functions read them.
std::size_t StartOffset(std::size_t start) {
    return start > 0 ? start - 1 : 0;
}

Text ReplaceQuotePlaceholder(TextView marker) {
    constexpr TextView kPlaceholder = "#引号";
    Text result;
    std::size_t from = 0;
    for (std::size_t found = marker.find(kPlaceholder); found != TextView::npos;
         found = marker.find(kPlaceholder, from)) {
        result.append(marker.substr(from, found - from));
        result.push_back('"');
        from = found + kPlaceholder.size();
    }
    result.append(marker.substr(from));
    return result;
}

// A cookie list as the merge reads it: trimmed, and a trailing ";" completed to the separator.
void TidyCookieList(Text& list) {
    list = Trim(list);
    if (list.ends_with(';')) {
        list.push_back(' ');
    }
}

// Empty pieces (from "; ; " or a trailing separator) are not cookies.
std::vector<TextView> CookieItems(TextView list) {
    std::vector<TextView> items;
    for (const TextView item : SplitText(list, kCookieSeparator)) {
        if (!item.empty()) {
            items.push_back(item);
        }
    }
    return items;
}

Text JoinWith(const std::vector<TextView>& items, TextView separator) {
    Text result;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            result.append(separator);
        }
        result.append(items[i]);
    }
    return result;
}

} // namespace

Text TextBetween(TextView text, TextView startMarker, TextView endMarker, std::size_t start, bool ignoreCase) {
    const Text opening = ReplaceQuotePlaceholder(startMarker);
    const Text closing = ReplaceQuotePlaceholder(endMarker);
    const std::size_t found = FindText(text, opening, StartOffset(start), ignoreCase);
    if (found == TextView::npos) {
        return {};
    }
    const std::size_t inside = found + opening.size();
    const std::size_t end = FindText(text, closing, inside, ignoreCase);
    if (end == TextView::npos) {
        return {};
    }
    return Text(text.substr(inside, end - inside));
}

Text TextBefore(TextView text, TextView marker, std::size_t start, bool ignoreCase) {
    const std::size_t found = FindText(text, marker, StartOffset(start), ignoreCase);
    return found == TextView::npos ? Text() : Text(text.substr(0, found));
}

Text HeaderName(TextView line) {
    const std::size_t colon = line.find(':');
    return colon == TextView::npos ? Text() : Trim(line.substr(0, colon));
}

Text HeaderValue(TextView line) {
    const std::size_t colon = line.find(':');
    return colon == TextView::npos ? Text() : Trim(line.substr(colon + 1));
}

Text CookieName(TextView item) {
    return Trim(item.substr(0, item.find('=')));
}

Text CapitalizeWord(TextView word) {
    Text result(word);
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z') {
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    }
    return result;
}

Text NormalizeHeaderNames(TextView block) {
    Text result;
    for (const TextView line : SplitText(block, kLineBreak)) {
        const std::size_t colon = line.find(':');
        if (colon == TextView::npos) {
            continue;
        }
        const std::vector<TextView> words = SplitText(line.substr(0, colon), "-");
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (i > 0) {
                result.push_back('-');
            }
            result.append(CapitalizeWord(words[i]));
        }
        result.append(line.substr(colon));
        result.append(kLineBreak);
    }
    if (result.ends_with(kLineBreak)) {
        result.resize(result.size() - kLineBreak.size());
    }
    return result;
}

Text MergeCookies(Text& oldListOut, Text& newListOut) {
    TidyCookieList(oldListOut);
    TidyCookieList(newListOut);
    const std::vector<TextView> newItems = CookieItems(newListOut);
    std::unordered_set<Text> newNames;
    for (const TextView item : newItems) {
        newNames.insert(CookieName(item));
    }
    // The reply's cookies come first; an old cookie survives only if the reply didn't set it.
    std::vector<TextView> merged = newItems;
    for (const TextView item : CookieItems(oldListOut)) {
        if (!newNames.contains(CookieName(item))) {
            merged.push_back(item);
        }
    }
    std::vector<TextView> kept;
    for (const TextView item : merged) {
        if (!item.ends_with(kDeletedSuffix)) {
            kept.push_back(item);
        }
    }
    Text mergedList = JoinWith(kept, kCookieSeparator);
    oldListOut = mergedList;
    return RemoveDuplicates(mergedList, kCookieSeparator);
}

Text RemoveDuplicates(TextView text, TextView separator) {
    if (separator.empty()) {
        return Text(text);
    }
    std::unordered_set<TextView> seen;
    std::vector<TextView> kept;
    for (const TextView item : SplitText(text, separator)) {
        if (seen.insert(item).second) {
            kept.push_back(item);
        }
    }
    return JoinWith(kept, separator);
}

} // namespace tovrik::text
