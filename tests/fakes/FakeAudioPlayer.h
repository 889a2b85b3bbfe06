#pragma once

#include "services/AudioPlayer.h"

#include <optional>
#include <vector>

namespace tovrik::fakes {

// Records every MCI command. "open" succeeds when the named file exists and is not empty (as
// MCI refuses an empty file); the file's bytes at that moment are kept, since the speech code
// deletes the file right after opening it. Other commands answer 0 for an opened alias.
class FakeAudioPlayer final : public services::AudioPlayer {
public:
    [[nodiscard]] unsigned SendCommand(TextView command) override;

    [[nodiscard]] const std::vector<Text>& Commands() const { return m_commands; }
    void ClearCommands() { m_commands.clear(); }
    // Bytes of the file given to the last successful "open".
    [[nodiscard]] const std::optional<Bytes>& OpenedFile() const { return m_openedFile; }
    [[nodiscard]] bool IsOpen() const { return m_open; }

private:
    std::vector<Text> m_commands;
    std::optional<Bytes> m_openedFile;
    bool m_open = false;
};

} // namespace tovrik::fakes
