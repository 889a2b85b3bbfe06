#include "services/linux/Mp3Playback.h"

#include <dlfcn.h>
#include <mpg123.h>
#include <out123.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace tovrik::services {
namespace {

// Only the two outputs a desktop has; the other modules probe servers (JACK, NAS) or pick
// OpenAL's silent fallback after seconds of searching.
constexpr const char* kOutputModules = "pulse,alsa";
// How long Stop waits for the worker before leaving it behind.
constexpr auto kStopWait = std::chrono::milliseconds(1000);

struct DecoderDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
struct OutputDeleter {
    void operator()(out123_handle* handle) const { out123_del(handle); }
};
using Decoder = std::unique_ptr<mpg123_handle, DecoderDeleter>;
using Output = std::unique_ptr<out123_handle, OutputDeleter>;

} // namespace

struct Mp3Playback::State {
    Decoder decoder;
    std::atomic<bool> stop{false};
    mutable std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    bool outputFailed = false;

    void Finish(bool failed) {
        const std::lock_guard lock(mutex);
        done = true;
        outputFailed = failed;
        doneChanged.notify_all();
    }
};

namespace {

[[nodiscard]] bool StartOutput(out123_handle* output, mpg123_handle* decoder) {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(decoder, &rate, &channels, &encoding) != MPG123_OK) {
        return false;
    }
    return out123_start(output, rate, channels, encoding) == OUT123_OK;
}

// Writes one decoded block, checking the stop flag between device writes.
[[nodiscard]] bool WriteBlock(out123_handle* output, const unsigned char* data, std::size_t size,
                              const std::atomic<bool>& stop) {
    std::size_t written = 0;
    while (written < size && !stop) {
        const std::size_t played = out123_play(output, const_cast<unsigned char*>(data + written), size - written);
        if (played == 0) {
            return false;
        }
        written += played;
    }
    return true;
}

void Play(Mp3Playback::State& state) {
    Output output(out123_new());
    if (!output) {
        state.Finish(true);
        return;
    }
    out123_param_int(output.get(), OUT123_FLAGS, OUT123_QUIET);
    if (out123_open(output.get(), kOutputModules, nullptr) != OUT123_OK ||
        !StartOutput(output.get(), state.decoder.get())) {
        state.Finish(true);
        return;
    }
    std::vector<unsigned char> block(mpg123_outblock(state.decoder.get()));
    bool failed = false;
    while (!state.stop && !failed) {
        std::size_t decoded = 0;
        const int result = mpg123_read(state.decoder.get(), block.data(), block.size(), &decoded);
        if (result == MPG123_NEW_FORMAT) {
            out123_stop(output.get());
            failed = !StartOutput(output.get(), state.decoder.get());
            continue;
        }
        failed = !WriteBlock(output.get(), block.data(), decoded, state.stop);
        if (result != MPG123_OK) {
            break; // MPG123_DONE, or a damaged stream: play what was decoded and end
        }
    }
    if (state.stop) {
        out123_drop(output.get());
    } else {
        out123_drain(output.get());
    }
    state.Finish(failed);
}

[[nodiscard]] Decoder OpenDecoder(const std::string& utf8Path) {
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        mpg123_init();
        // out123 loads and unloads its ALSA module with every playback. ALSA keeps its parsed
        // configuration for the life of the library, so each unload would orphan it (some
        // 100 KB); keeping the library loaded keeps one copy, reused.
        static_cast<void>(dlopen("libasound.so.2", RTLD_LAZY | RTLD_NODELETE));
    });
    Decoder decoder(mpg123_new(nullptr, nullptr));
    if (!decoder) {
        return nullptr;
    }
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // 16-bit output is what every sound device takes.
    mpg123_format_none(decoder.get());
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        mpg123_format(decoder.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open(decoder.get(), utf8Path.c_str()) != MPG123_OK ||
        mpg123_getformat(decoder.get(), &rate, &channels, &encoding) != MPG123_OK) {
        return nullptr;
    }
    return decoder;
}

} // namespace

Mp3Playback::Mp3Playback(std::shared_ptr<State> state) : m_state(std::move(state)) {}

std::unique_ptr<Mp3Playback> Mp3Playback::Open(const std::string& utf8Path) {
    Decoder decoder = OpenDecoder(utf8Path);
    if (!decoder) {
        return nullptr;
    }
    auto state = std::make_shared<State>();
    state->decoder = std::move(decoder);
    return std::unique_ptr<Mp3Playback>(new Mp3Playback(std::move(state)));
}

Mp3Playback::~Mp3Playback() {
    Stop();
}

void Mp3Playback::Start() {
    if (m_worker.joinable() || IsDone()) {
        return;
    }
    m_worker = std::thread([state = m_state] { Play(*state); });
}

bool Mp3Playback::WaitUntilDone() {
    if (!m_worker.joinable()) {
        return !m_state->outputFailed;
    }
    m_worker.join();
    return !m_state->outputFailed;
}

bool Mp3Playback::IsDone() const {
    const std::lock_guard lock(m_state->mutex);
    return m_state->done;
}

void Mp3Playback::Stop() {
    if (!m_worker.joinable()) {
        return;
    }
    m_state->stop = true;
    std::unique_lock lock(m_state->mutex);
    const bool finished = m_state->doneChanged.wait_for(lock, kStopWait, [this] { return m_state->done; });
    lock.unlock();
    if (finished) {
        m_worker.join();
    } else {
        m_worker.detach(); // the worker owns a share of the state and cleans up when it returns
    }
}

} // namespace tovrik::services
