#pragma once

#include "text/Types.h"

#include <utility>
#include <vector>

namespace tovrik::fakes {

// One list of the native calls that several fakes share, so that a test can check the order
// of calls that go to different parts of the platform ("Acquire TV_OCR_$$", then "AddIcon").
class CallJournal {
public:
    void Note(Text entry) { m_entries.push_back(std::move(entry)); }
    [[nodiscard]] const std::vector<Text>& Entries() const { return m_entries; }
    void Clear() { m_entries.clear(); }

private:
    std::vector<Text> m_entries;
};

// Notes the entry when the fake has been given a journal.
inline void NoteTo(CallJournal* journal, Text entry) {
    if (journal != nullptr) {
        journal->Note(std::move(entry));
    }
}

} // namespace tovrik::fakes
