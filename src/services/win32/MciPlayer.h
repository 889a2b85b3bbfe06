#pragma once

#include "services/AudioPlayer.h"

namespace tovrik::services {

// Hands each command string to MCI; no reply text is read and no window is notified.
class MciPlayer final : public AudioPlayer {
public:
    [[nodiscard]] unsigned SendCommand(TextView command) override;
};

} // namespace tovrik::services
