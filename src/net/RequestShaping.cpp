#include "net/RequestShaping.h"

#include "text/HeaderText.h"
#include "text/TextSearch.h"
#include "text/Trim.h"

#include <algorithm>
#include <array>

namespace tovrik::net {

namespace {

constexpr std::array<TextView, 8> kVerbs = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr TextView kLineBreak = "\r\n";
constexpr TextView kSetCookie = "Set-Cookie";
constexpr TextView kSetCookieMarker = "Set-Cookie:";
constexpr TextView kCookieSeparator = "; ";

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int ClampMethod(int method) {
    return (method < 0 || method >= static_cast<int>(kVerbs.size())) ? 0 : method;
}

Text MethodVerb(int method) {
    return Text(kVerbs[static_cast<std::size_t>(ClampMethod(method))]);
}

std::size_t FindNoCase(TextView text, TextView needle, std::size_t from) {
    return text::FindText(text, needle, from, true);
}

bool ContainsNoCase(TextView text, TextView needle) {
    return FindNoCase(text, needle) != TextView::npos;
}

bool StartsWithNoCase(TextView text, TextView prefix) {
    return text.size() >= prefix.size() && LowerAscii(text.substr(0, prefix.size())) == LowerAscii(prefix);
}

Text LowerAscii(TextView text) {
    Text lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerChar);
    return lower;
}

Text RemoveAllNoCase(TextView text, TextView needle) {
    if (needle.empty()) {
        return Text(text);
    }
    Text result;
    std::size_t from = 0;
    for (std::size_t at = FindNoCase(text, needle); at != TextView::npos; at = FindNoCase(text, needle, from)) {
        result.append(text.substr(from, at - from));
        from = at + needle.size();
    }
    result.append(text.substr(from));
    return result;
}

std::vector<Text> SplitLines(TextView block) {
    std::vector<Text> lines;
    std::size_t from = 0;
    for (std::size_t at = block.find(kLineBreak); at != TextView::npos; at = block.find(kLineBreak, from)) {
        lines.emplace_back(block.substr(from, at - from));
        from = at + kLineBreak.size();
    }
    lines.emplace_back(block.substr(from));
    return lines;
}

Text ReceivedCookies(TextView responseHeaders) {
    Text cookies;
    for (const Text& line : SplitLines(responseHeaders)) {
        if (text::TextBefore(line, ": ") != kSetCookie) {
            continue;
        }
        const Text piece = line.find(';') == Text::npos ? RemoveAllNoCase(line, kSetCookieMarker)
                                                        : text::TextBetween(line, kSetCookieMarker, ";");
        cookies += text::Trim(piece);
        cookies += kCookieSeparator;
    }
    if (cookies.ends_with(kCookieSeparator)) {
        cookies.resize(cookies.size() - kCookieSeparator.size());
    }
    return cookies;
}

} // namespace tovrik::net
