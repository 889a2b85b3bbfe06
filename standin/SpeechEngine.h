#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tovrik::standin {

// espeak-ng for the voice, LAME for the MP3. espeak-ng keeps one global synthesiser per process,
// so there is one engine and requests take turns.
class SpeechEngine {
public:
    // Mandarin read from Chinese characters with pinyin sounds; the plain "cmn" voice reads the
    // pinyin as if it were English.
    static constexpr const char* kChineseVoice = "cmn-latn-pinyin";
    static constexpr const char* kEnglishVoice = "en";

    SpeechEngine();
    ~SpeechEngine();
    SpeechEngine(const SpeechEngine&) = delete;
    SpeechEngine& operator=(const SpeechEngine&) = delete;

    [[nodiscard]] bool IsReady() const { return m_sampleRate > 0; }

    // MP3 bytes (mono, CBR, no tags) of the UTF-8 text read by the voice at wordsPerMinute; an
    // empty text gives a short silence. Nothing when synthesis or encoding failed.
    [[nodiscard]] std::optional<std::string> Mp3(std::string_view utf8, const char* voice, int wordsPerMinute);

private:
    std::mutex m_mutex;
    int m_sampleRate = 0;
};

} // namespace tovrik::standin
