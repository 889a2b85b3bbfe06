#include "services/win32/MciPlayer.h"

#include <windows.h>

#include <mmsystem.h> // needs the types of windows.h

namespace tovrik::services {

unsigned MciPlayer::SendCommand(TextView command) {
    const Text terminated(command);
    return static_cast<unsigned>(mciSendStringA(terminated.c_str(), nullptr, 0, nullptr));
}

std::unique_ptr<AudioPlayer> CreateSystemAudioPlayer() {
    return std::make_unique<MciPlayer>();
}

} // namespace tovrik::services
