#include "EnglishMorphology.h"

#include <algorithm>
#include <utility>

namespace tovrik::standin {

namespace {

constexpr std::pair<std::string_view, std::string_view> kIrregular[] = {
    {"am", "be"},         {"is", "be"},         {"are", "be"},           {"was", "be"},
    {"were", "be"},       {"been", "be"},       {"being", "be"},         {"has", "have"},
    {"had", "have"},      {"does", "do"},       {"did", "do"},           {"done", "do"},
    {"went", "go"},       {"gone", "go"},       {"made", "make"},        {"said", "say"},
    {"took", "take"},     {"taken", "take"},    {"came", "come"},        {"saw", "see"},
    {"seen", "see"},      {"got", "get"},       {"gotten", "get"},       {"gave", "give"},
    {"given", "give"},    {"found", "find"},    {"thought", "think"},    {"told", "tell"},
    {"became", "become"}, {"left", "leave"},    {"felt", "feel"},        {"brought", "bring"},
    {"began", "begin"},   {"begun", "begin"},   {"kept", "keep"},        {"held", "hold"},
    {"wrote", "write"},   {"written", "write"}, {"stood", "stand"},      {"heard", "hear"},
    {"meant", "mean"},    {"met", "meet"},      {"ran", "run"},          {"paid", "pay"},
    {"sat", "sit"},       {"spoke", "speak"},   {"spoken", "speak"},     {"led", "lead"},
    {"grew", "grow"},     {"grown", "grow"},    {"lost", "lose"},        {"fell", "fall"},
    {"fallen", "fall"},   {"sent", "send"},     {"built", "build"},      {"understood", "understand"},
    {"drew", "draw"},     {"drawn", "draw"},    {"broke", "break"},      {"broken", "break"},
    {"spent", "spend"},   {"rose", "rise"},     {"risen", "rise"},       {"drove", "drive"},
    {"driven", "drive"},  {"bought", "buy"},    {"wore", "wear"},        {"worn", "wear"},
    {"chose", "choose"},  {"chosen", "choose"}, {"sold", "sell"},        {"ate", "eat"},
    {"eaten", "eat"},     {"drank", "drink"},   {"drunk", "drink"},      {"flew", "fly"},
    {"flown", "fly"},     {"forgot", "forget"}, {"forgotten", "forget"}, {"knew", "know"},
    {"known", "know"},    {"slept", "sleep"},   {"taught", "teach"},     {"caught", "catch"},
    {"fought", "fight"},  {"won", "win"},       {"sang", "sing"},        {"sung", "sing"},
    {"swam", "swim"},     {"threw", "throw"},   {"thrown", "throw"},     {"hid", "hide"},
    {"hidden", "hide"},   {"woke", "wake"},     {"woken", "wake"},       {"shown", "show"},
    {"men", "man"},       {"women", "woman"},   {"children", "child"},   {"feet", "foot"},
    {"teeth", "tooth"},   {"mice", "mouse"},    {"geese", "goose"},      {"lives", "life"},
    {"wives", "wife"},    {"knives", "knife"},  {"leaves", "leaf"},      {"better", "good"},
    {"best", "good"},     {"worse", "bad"},     {"worst", "bad"},        {"could", "can"},
    {"would", "will"},    {"might", "may"},
};

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// "stopp" -> "stop", "bigg" -> "big": a doubled final consonant before a suffix.
bool EndsDoubled(std::string_view stem) {
    return stem.size() >= 3 && stem.back() == stem[stem.size() - 2] && !IsVowel(stem.back()) && stem.back() != 's' &&
           stem.back() != 'l';
}

} // namespace

std::vector<std::string> EnglishBaseForms(std::string_view word) {
    std::vector<std::string> forms;
    auto add = [&](std::string form) {
        if (form.size() >= 2 && form != word && std::find(forms.begin(), forms.end(), form) == forms.end()) {
            forms.push_back(std::move(form));
        }
    };
    for (const auto& [inflected, base] : kIrregular) {
        if (word == inflected) {
            add(std::string(base));
        }
    }
    if (word.ends_with("'s")) {
        add(std::string(word.substr(0, word.size() - 2)));
        return forms;
    }
    // Suffix and what replaces it; at least two letters of stem stay.
    static constexpr struct {
        std::string_view suffix;
        std::string_view replacement;
    } kRules[] = {
        {"ies", "y"}, {"ied", "y"}, {"ier", "y"}, {"iest", "y"}, {"ily", "y"}, {"ves", "f"},
        {"es", ""},   {"s", ""},    {"ed", ""},   {"ed", "e"},   {"ing", ""},  {"ing", "e"},
        {"est", ""},  {"est", "e"}, {"er", ""},   {"er", "e"},   {"ly", ""},
    };
    for (const auto& rule : kRules) {
        if (word.size() < rule.suffix.size() + 2 || !word.ends_with(rule.suffix) ||
            (rule.suffix == "s" && word.ends_with("ss"))) {
            continue;
        }
        const std::string_view stem = word.substr(0, word.size() - rule.suffix.size());
        add(std::string(stem) + std::string(rule.replacement));
        if (rule.replacement.empty() && EndsDoubled(stem)) {
            add(std::string(stem.substr(0, stem.size() - 1)));
        }
    }
    return forms;
}

} // namespace tovrik::standin
