// Query strings taken apart into name/value pairs and rendered again: no crash, and what one
// parse renders parses to the same pairs.
#include "text/ParamList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view query(reinterpret_cast<const char*>(data), size);
    for (const bool utf8 : {false, true}) {
        tovrik::text::ParamList list;
        list.ParseQuery(query, utf8);
        (void)list.HeaderText();
        (void)list.HeaderText(true);
        (void)list.JsonText();
        (void)list.FormText(true);
        const auto names = list.PairNames();
        const auto values = list.PairValues();
        if (names.size() != values.size()) {
            __builtin_trap();
        }
        if (!names.empty()) {
            (void)list.GetValue(names.front());
            list.SetPair(names.back(), "value");
            (void)list.RemovePair(names.front());
        }
        (void)tovrik::text::ParamList::TrimSeparator(query, "&");
        (void)tovrik::text::ParamList::JsonEscape(query);
    }
    return 0;
}
