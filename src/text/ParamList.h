#pragma once

#include "text/Types.h"

#include <vector>

namespace tovrik::text {

// Ordered name/value pairs rendered as a form body, a header block or a flat JSON object.
// Names are not unique; lookups take the first pair with exactly that name.
class ParamList {
public:
    void AddPair(TextView name, TextView value, bool utf8 = false);
    void ParseQuery(TextView query, bool utf8 = false);
    [[nodiscard]] Text GetValue(TextView name) const;
    void SetPair(TextView name, TextView value);
    [[nodiscard]] Text FormText(bool encode = false) const;
    [[nodiscard]] Text HeaderText(bool encode = false) const;
    [[nodiscard]] std::vector<Text> PairNames() const { return m_names; }
    [[nodiscard]] std::vector<Text> PairValues() const { return m_values; }
    void ClearPairs();
    [[nodiscard]] int RemovePair(TextView name);
    [[nodiscard]] Text JsonText() const;
    [[nodiscard]] static Text JsonEscape(TextView value);
    [[nodiscard]] static Text TrimSeparator(TextView text, TextView separator);

private:
    std::vector<Text> m_names;
    std::vector<Text> m_values;
};

} // namespace tovrik::text
