#include "services/MciCommand.h"

#include <algorithm>
#include <vector>

namespace tovrik::services {
namespace {

// Splits at spaces; a double-quoted word may hold spaces (and GBK bytes, which never look like
// a quote or a space).
[[nodiscard]] std::optional<std::vector<Text>> SplitWords(TextView command) {
    std::vector<Text> words;
    std::size_t i = 0;
    while (i < command.size()) {
        if (command[i] == ' ' || command[i] == '\t') {
            ++i;
            continue;
        }
        if (command[i] == '"') {
            const std::size_t close = command.find('"', i + 1);
            if (close == TextView::npos) {
                return std::nullopt;
            }
            words.emplace_back(command.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        const std::size_t end = command.find_first_of(" \t", i);
        const std::size_t stop = end == TextView::npos ? command.size() : end;
        words.emplace_back(command.substr(i, stop - i));
        i = stop;
    }
    return words;
}

} // namespace

std::optional<MciCommand> ParseMciCommand(TextView command) {
    const auto words = SplitWords(command);
    if (!words || words->size() < 2) {
        return std::nullopt;
    }
    MciCommand result;
    result.verb = MciLower((*words)[0]);
    result.device = (*words)[1];
    for (std::size_t i = 2; i < words->size(); ++i) {
        const Text keyword = MciLower((*words)[i]);
        if (keyword == "wait") {
            result.wait = true;
        } else if (keyword == "alias" && i + 1 < words->size()) {
            result.alias = (*words)[++i];
        } else {
            return std::nullopt;
        }
    }
    return result;
}

Text MciLower(TextView name) {
    Text result(name);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return result;
}

} // namespace tovrik::services
