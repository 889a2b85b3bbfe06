#include "services/SpeechCommands.h"

#include "services/AudioPlayer.h"

namespace tovrik::services {

bool HasDoubleByteChar(TextView text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x81 && byte <= 0xFE) {
            return true;
        }
    }
    return false;
}

bool CloseSound(AudioPlayer& player, TextView alias) {
    return player.SendCommand("close " + Text(alias)) == 0;
}

bool PlaySound(AudioPlayer& player, TextView path, TextView alias, bool wait) {
    static_cast<void>(player.SendCommand("close " + Text(alias)));
    static_cast<void>(player.SendCommand("open \"" + Text(path) + "\" alias " + Text(alias)));
    Text play = "play " + Text(alias);
    if (wait) {
        play += " wait";
    }
    return player.SendCommand(play) == 0;
}

} // namespace tovrik::services
