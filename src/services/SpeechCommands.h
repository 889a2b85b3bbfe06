#pragma once

#include "text/Types.h"

namespace tovrik::services {

class AudioPlayer;

// True if any byte of the text is a lead byte of a double-byte character of code page 936.
[[nodiscard]] bool HasDoubleByteChar(TextView text);
// "close <alias>"; true if the player answered 0.
bool CloseSound(AudioPlayer& player, TextView alias);
// "close <alias>", "open "<path>" alias <alias>", "play <alias>[ wait]"; true if play answered 0.
bool PlaySound(AudioPlayer& player, TextView path, TextView alias, bool wait = false);

} // namespace tovrik::services
