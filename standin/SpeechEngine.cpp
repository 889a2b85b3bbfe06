#include "SpeechEngine.h"

#include <espeak-ng/speak_lib.h>
#include <lame/lame.h>

#include <memory>
#include <vector>

namespace tovrik::standin {

namespace {

constexpr int kBitrateKbps = 48;
constexpr int kSilenceMilliseconds = 100;

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameCloser>;

// espeak-ng hands the samples to one global callback; the request's buffer travels in the
// events' user data.
int CollectSamples(short* samples, int count, espeak_EVENT* events) {
    if (samples != nullptr && count > 0 && events != nullptr && events->user_data != nullptr) {
        auto* buffer = static_cast<std::vector<short>*>(events->user_data);
        buffer->insert(buffer->end(), samples, samples + count);
    }
    return 0;
}

std::optional<std::string> EncodeMp3(std::vector<short>& samples, int sampleRate) {
    const LamePtr lame(lame_init());
    if (!lame) {
        return std::nullopt;
    }
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), kBitrateKbps);
    // Without the info frame the file starts with an audio frame, and nothing has to be
    // patched into its beginning after the last sample.
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) {
        return std::nullopt;
    }
    // LAME's own bound for the output of one call: 1.25 × samples + 7200 bytes.
    std::string mp3(samples.size() * 5 / 4 + 7200, '\0');
    auto* out = reinterpret_cast<unsigned char*>(mp3.data());
    const int written = lame_encode_buffer(lame.get(), samples.data(), samples.data(), static_cast<int>(samples.size()),
                                           out, static_cast<int>(mp3.size()));
    if (written < 0) {
        return std::nullopt;
    }
    const int flushed = lame_encode_flush(lame.get(), out + written, static_cast<int>(mp3.size()) - written);
    if (flushed < 0) {
        return std::nullopt;
    }
    mp3.resize(static_cast<size_t>(written + flushed));
    return mp3;
}

} // namespace

SpeechEngine::SpeechEngine() {
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate > 0) {
        espeak_SetSynthCallback(CollectSamples);
        m_sampleRate = rate;
    }
}

SpeechEngine::~SpeechEngine() {
    if (m_sampleRate > 0) {
        espeak_Terminate();
    }
}

std::optional<std::string> SpeechEngine::Mp3(std::string_view utf8, const char* voice, int wordsPerMinute) {
    const std::lock_guard lock(m_mutex);
    if (m_sampleRate <= 0 || espeak_SetVoiceByName(voice) != EE_OK) {
        return std::nullopt;
    }
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    std::vector<short> samples;
    if (!utf8.empty()) {
        const std::string text(utf8);
        if (espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &samples) !=
                EE_OK ||
            espeak_Synchronize() != EE_OK) {
            return std::nullopt;
        }
    }
    if (samples.empty()) {
        samples.assign(static_cast<size_t>(m_sampleRate * kSilenceMilliseconds / 1000), 0);
    }
    return EncodeMp3(samples, m_sampleRate);
}

} // namespace tovrik::standin
