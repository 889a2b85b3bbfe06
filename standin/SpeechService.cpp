#include "SpeechService.h"

#include "OcrText.h"
#include "SpeechEngine.h"
#include "Utf8.h"

#include <algorithm>
#include <charconv>

namespace tovrik::standin {

namespace {

constexpr size_t kMaxCharacters = 2048;
constexpr int kNormalSpeed = 5;
constexpr int kMaxSpeed = 15;
constexpr int kNormalWordsPerMinute = 175;
constexpr int kWordsPerStep = 20;

Reply TextError(int status, std::string_view message) {
    return Reply::Json(status, "{\"error\":\"" + std::string(message) + "\"}");
}

} // namespace

SpeechService::SpeechService(SpeechEngine& engine) : m_engine(engine) {}

int SpeechService::WordsPerMinute(const std::string& speed) {
    int step = kNormalSpeed;
    const auto [end, error] = std::from_chars(speed.data(), speed.data() + speed.size(), step);
    if (error != std::errc() || end != speed.data() + speed.size()) {
        step = kNormalSpeed;
    }
    step = std::clamp(step, 0, kMaxSpeed);
    return kNormalWordsPerMinute + (step - kNormalSpeed) * kWordsPerStep;
}

Reply SpeechService::Speak(const FormFields& query) {
    const std::string text = query.Value("text");
    if (DecodeUtf8(text).size() > kMaxCharacters) {
        return TextError(413, "text too long");
    }
    // An unknown or missing language is taken from the text itself.
    const std::string language = query.Value("lan");
    const bool chinese = language == "zh" || (language != "en" && HasIdeograph(text));
    const auto mp3 = m_engine.Mp3(text, chinese ? SpeechEngine::kChineseVoice : SpeechEngine::kEnglishVoice,
                                  WordsPerMinute(query.Value("spd")));
    if (!mp3) {
        return TextError(500, "speech synthesis failed");
    }
    return Reply::Of(200, "audio/mpeg", *mp3);
}

} // namespace tovrik::standin
