#include "app/InstanceCommand.h"

#include <array>
#include <utility>

namespace tovrik::app {

namespace {

constexpr std::array<std::pair<InstanceCommand, std::string_view>, 6> kWords{{
    {InstanceCommand::CaptureToFile, "capture-to-file"},
    {InstanceCommand::CaptureAndCopy, "capture-and-copy"},
    {InstanceCommand::CaptureAndTranslate, "capture-and-translate"},
    {InstanceCommand::SelfTranslate, "self-translate"},
    {InstanceCommand::ShowSettings, "show-settings"},
    {InstanceCommand::SecondStart, "second-start"},
}};

} // namespace

std::string_view CommandWord(InstanceCommand command) {
    for (const auto& [each, word] : kWords) {
        if (each == command) {
            return word;
        }
    }
    return {};
}

std::optional<InstanceCommand> CommandFromWord(std::string_view word) {
    for (const auto& [command, each] : kWords) {
        if (each == word) {
            return command;
        }
    }
    return std::nullopt;
}

std::optional<InstanceCommand> CommandFromFlag(std::string_view flag) {
    if (!flag.starts_with("--")) {
        return std::nullopt;
    }
    const auto command = CommandFromWord(flag.substr(2));
    if (command == InstanceCommand::SecondStart) {
        return std::nullopt;
    }
    return command;
}

} // namespace tovrik::app
