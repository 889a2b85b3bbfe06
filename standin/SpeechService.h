#pragma once

#include "FormFields.h"
#include "Reply.h"

namespace tovrik::standin {

class SpeechEngine;

// The text-to-speech address: lan ("zh" or "en"), text and spd (speed 0-15, 5 normal) in the
// query, the MP3 bytes as the reply body.
class SpeechService {
public:
    explicit SpeechService(SpeechEngine& engine);

    [[nodiscard]] Reply Speak(const FormFields& query);

    // spd 0-15 onto espeak-ng's words per minute; 5 is espeak-ng's own default of 175.
    [[nodiscard]] static int WordsPerMinute(const std::string& speed);

private:
    SpeechEngine& m_engine;
};

} // namespace tovrik::standin
