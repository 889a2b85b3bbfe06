#pragma once

#include "services/AudioPlayer.h"
#include "services/linux/Mp3Playback.h"

#include <map>
#include <memory>

namespace tovrik::services {

// Plays MP3 files for the MCI commands the program sends: open under an alias, play (with or
// without wait), close. Closing an alias stops its playback.
class Mp3Player final : public AudioPlayer {
public:
    Mp3Player() = default;
    ~Mp3Player() override = default;
    Mp3Player(const Mp3Player&) = delete;
    Mp3Player& operator=(const Mp3Player&) = delete;

    [[nodiscard]] unsigned SendCommand(TextView command) override;

private:
    std::map<Text, std::unique_ptr<Mp3Playback>> m_devices;
};

} // namespace tovrik::services
