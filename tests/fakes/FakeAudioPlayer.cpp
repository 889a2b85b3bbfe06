#include "FakeAudioPlayer.h"

#include "files/Files.h"
#include "services/MciCommand.h"

namespace tovrik::fakes {

unsigned FakeAudioPlayer::SendCommand(TextView command) {
    m_commands.emplace_back(command);
    const auto parsed = services::ParseMciCommand(command);
    if (!parsed) {
        return services::kMciUnrecognizedCommand;
    }
    if (parsed->verb == "open") {
        if (m_open) {
            return services::kMciDuplicateAlias;
        }
        auto bytes = files::ReadFile(parsed->device);
        if (!bytes || bytes->empty()) {
            return services::kMciFileNotFound;
        }
        m_openedFile = std::move(bytes);
        m_open = true;
        return 0;
    }
    if (!m_open) {
        return services::kMciInvalidDeviceName;
    }
    if (parsed->verb == "close") {
        m_open = false;
    }
    return 0;
}

} // namespace tovrik::fakes
