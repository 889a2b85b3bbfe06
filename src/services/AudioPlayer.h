#pragma once

#include "text/Types.h"

#include <memory>

namespace tovrik::services {

// Sound output driven by MCI command strings ("close A", "open "path" alias A", "play A [wait]").
// The Windows build hands them to MCI unchanged; the Linux build interprets the same commands,
// so the speech code and its tests see one protocol on both platforms.
class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    // 0 on success, otherwise an MCI error number.
    [[nodiscard]] virtual unsigned SendCommand(TextView command) = 0;
};

// The platform's player (MCI on Windows, an MP3 decoder with audio output on Linux).
[[nodiscard]] std::unique_ptr<AudioPlayer> CreateSystemAudioPlayer();

} // namespace tovrik::services
