#pragma once

#include <optional>
#include <string_view>

namespace tovrik::app {

// What one copy of the program can ask of the copy that already runs, over the single-instance
// channel. The desktop binds the command-line triggers (--capture-to-file, ...) to its own
// keys where global hotkeys cannot be grabbed.
enum class InstanceCommand {
    CaptureToFile,
    CaptureAndCopy,
    CaptureAndTranslate,
    SelfTranslate,
    ShowSettings,
    // A second start of the program without arguments: the running copy brings its settings
    // window forward, so a program without a tray icon can still be found.
    SecondStart,
};

// The word of a command on the channel: "capture-to-file", "capture-and-copy",
// "capture-and-translate", "self-translate", "show-settings", "second-start".
[[nodiscard]] std::string_view CommandWord(InstanceCommand command);
[[nodiscard]] std::optional<InstanceCommand> CommandFromWord(std::string_view word);
// The command-line trigger: "--" and the word; "--second-start" is no trigger.
[[nodiscard]] std::optional<InstanceCommand> CommandFromFlag(std::string_view flag);

} // namespace tovrik::app
