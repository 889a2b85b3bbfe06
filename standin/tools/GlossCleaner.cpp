#include "GlossCleaner.h"

#include <algorithm>
#include <array>

namespace tovrik::standin {

namespace {

// Six words or more: a note on grammar ("plural marker for pronouns, and nouns referring to
// individuals"), not a word to put into a sentence.
constexpr long kDescriptionSpaces = 5;

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; });
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == ',')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == ',')) {
        text.remove_suffix(1);
    }
    return text;
}

// Drops "(...)" and "[...]" groups (nested ones too), "CL:" to the end, and every non-ASCII
// character with the "|" of cross references; collapses the spaces left behind.
std::string StripNotes(std::string_view text) {
    if (const size_t classifiers = text.find("CL:"); classifiers != std::string_view::npos) {
        text = text.substr(0, classifiers);
    }
    std::string out;
    int depth = 0;
    for (const char c : text) {
        if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (depth == 0 && (static_cast<unsigned char>(c) < 0x80) && c != '|') {
            if (c != ' ' || (!out.empty() && out.back() != ' ')) {
                out += c;
            }
        }
    }
    return std::string(Trim(out));
}

bool IsMarkedUse(std::string_view part) {
    static constexpr std::array kNotes = {"(honorific", "(polite",  "(humble",    "(literary", "(classical",
                                          "(old",       "(archaic", "(dialect",   "(tw)",      "(slang",
                                          "(vulgar",    "(derog",   "(cantonese", "(coll",     "(fig"};
    const std::string text = Lower(part);
    return std::any_of(kNotes.begin(), kNotes.end(),
                       [&](std::string_view note) { return text.find(note) != std::string::npos; });
}

std::vector<std::string_view> Parts(std::string_view sense) {
    std::vector<std::string_view> parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i <= sense.size(); ++i) {
        const char c = i < sense.size() ? sense[i] : ';';
        depth += c == '(' ? 1 : c == ')' && depth > 0 ? -1 : 0;
        if (c == ';' && depth == 0) {
            parts.push_back(sense.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::string_view WithoutPrefix(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix) && text.size() > prefix.size() ? text.substr(prefix.size()) : text;
}

} // namespace

bool IsReferenceSense(std::string_view sense) {
    static constexpr std::array kReferences = {"variant of ", "surname ",     "see ",          "see also ",
                                               "used in ",    "abbr. for ",   "also written ", "same as ",
                                               "also pr. ",   "erhua variant"};
    const std::string text = Lower(StripNotes(sense)) + ' ';
    if (text.find("variant of ") != std::string::npos) {
        return true;
    }
    return std::any_of(kReferences.begin(), kReferences.end(),
                       [&](std::string_view prefix) { return text.starts_with(prefix); });
}

bool IsClassifierSense(std::string_view sense) {
    const std::string text = Lower(Trim(sense));
    return text.starts_with("classifier") || text.starts_with("(classifier") || text.starts_with("measure word");
}

std::string CleanGloss(std::string_view sense) {
    for (const std::string_view part : Parts(sense)) {
        const std::string cleaned = StripNotes(part);
        if (!cleaned.empty()) {
            return std::string(WithoutPrefix(cleaned, "to "));
        }
    }
    return {};
}

bool IsDescription(std::string_view gloss) {
    return std::count(gloss.begin(), gloss.end(), ' ') >= kDescriptionSpaces;
}

std::vector<EnglishKey> EnglishKeys(std::string_view sense) {
    std::vector<EnglishKey> keys;
    for (const std::string_view part : Parts(sense)) {
        std::string_view key;
        const std::string cleaned = Lower(StripNotes(part));
        key = cleaned;
        for (const std::string_view prefix : {"to ", "a ", "an ", "the "}) {
            key = WithoutPrefix(key, prefix);
        }
        while (!key.empty() && (key.back() == '?' || key.back() == '!' || key.back() == '.')) {
            key.remove_suffix(1);
        }
        key = Trim(key);
        const bool plain = std::all_of(
            key.begin(), key.end(), [](char c) { return (c >= 'a' && c <= 'z') || c == ' ' || c == '-' || c == '\''; });
        if (!key.empty() && plain && std::count(key.begin(), key.end(), ' ') < 4) {
            keys.push_back({std::string(key), IsMarkedUse(part)});
        }
    }
    return keys;
}

} // namespace tovrik::standin
