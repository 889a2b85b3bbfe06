#include "services/linux/Mp3Player.h"

#include "services/MciCommand.h"
#include "text/Encoding.h"

namespace tovrik::services {

unsigned Mp3Player::SendCommand(TextView command) {
    const auto parsed = ParseMciCommand(command);
    if (!parsed) {
        return kMciUnrecognizedCommand;
    }
    if (parsed->verb == "open") {
        const Text alias = MciLower(parsed->alias.empty() ? parsed->device : parsed->alias);
        if (m_devices.contains(alias)) {
            return kMciDuplicateAlias;
        }
        // Paths are program text; the file system takes UTF-8.
        auto playback = Mp3Playback::Open(text::TextToUtf8(parsed->device));
        if (!playback) {
            return kMciFileNotFound;
        }
        m_devices.emplace(alias, std::move(playback));
        return 0;
    }
    const auto device = m_devices.find(MciLower(parsed->device));
    if (device == m_devices.end()) {
        return kMciInvalidDeviceName;
    }
    if (parsed->verb == "close") {
        m_devices.erase(device);
        return 0;
    }
    if (parsed->verb == "play") {
        device->second->Start();
        if (parsed->wait && !device->second->WaitUntilDone()) {
            return kMciHardware;
        }
        return 0;
    }
    if (parsed->verb == "stop") {
        device->second->Stop();
        return 0;
    }
    return kMciUnrecognizedCommand;
}

std::unique_ptr<AudioPlayer> CreateSystemAudioPlayer() {
    return std::make_unique<Mp3Player>();
}

} // namespace tovrik::services
