// Header and cookie text as the clients handle it (replies, cookie lists, markers the caller
// passes): no crash, and the results stay within what they were made from.
#include "FuzzParts.h"
#include "net/RequestShaping.h"
#include "text/HeaderText.h"

#include <cstddef>
#include <cstdint>

using tovrik::Text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = tovrik::fuzz::SplitInput(data, size, 4);
    const auto text = parts[0];
    const auto start = parts[1];
    const auto end = parts[2];
    const std::size_t from = size % 7;
    namespace t = tovrik::text;

    for (const bool ignoreCase : {false, true}) {
        const Text between = t::TextBetween(text, start, end, from, ignoreCase);
        const Text before = t::TextBefore(text, start, from, ignoreCase);
        if (between.size() > text.size() || before.size() > text.size()) {
            __builtin_trap();
        }
    }
    (void)t::HeaderName(text);
    (void)t::HeaderValue(text);
    (void)t::CookieName(text);
    (void)t::CapitalizeWord(text);
    const Text normalized = t::NormalizeHeaderNames(text);
    if (t::NormalizeHeaderNames(normalized) != normalized) {
        __builtin_trap();
    }
    (void)t::RemoveDuplicates(text, start);
    (void)t::RemoveDuplicates(text, "; ");

    Text oldList(text);
    Text newList(parts[3]);
    (void)t::MergeCookies(oldList, newList);

    (void)tovrik::net::ReceivedCookies(text);
    (void)tovrik::net::SplitLines(text);
    (void)tovrik::net::RemoveAllNoCase(text, start);
    const std::size_t found = tovrik::net::FindNoCase(text, start, from);
    if (found != std::string_view::npos && found + start.size() > text.size()) {
        __builtin_trap();
    }
    return 0;
}
