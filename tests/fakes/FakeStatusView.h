#pragma once

#include "services/JobStatusView.h"

#include <map>
#include <utility>
#include <vector>

namespace tovrik::fakes {

// The result window's labels as captions by control name, plus every caption set, in order.
class FakeStatusView final : public services::JobStatusView {
public:
    void SetLabelCaption(TextView controlName, TextView caption) override {
        m_captions[Text(controlName)] = Text(caption);
        m_history.emplace_back(Text(controlName), Text(caption));
    }

    // Empty text for a label never set.
    [[nodiscard]] Text Caption(TextView controlName) const {
        const auto found = m_captions.find(Text(controlName));
        return found == m_captions.end() ? Text() : found->second;
    }
    [[nodiscard]] const std::vector<std::pair<Text, Text>>& History() const { return m_history; }

private:
    std::map<Text, Text> m_captions;
    std::vector<std::pair<Text, Text>> m_history;
};

} // namespace tovrik::fakes
