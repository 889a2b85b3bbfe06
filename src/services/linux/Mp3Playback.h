#pragma once

#include <memory>
#include <string>
#include <thread>

namespace tovrik::services {

// One opened MP3 file and its playback on a worker thread. The file is opened (and its first
// frame decoded) up front, so the caller may delete it afterwards and a file that is not MP3
// is refused at once. Output goes to PulseAudio or ALSA; without a sound device the playback
// just ends. Stopping never waits long: a worker stuck in a sound driver is left to finish on
// its own.
class Mp3Playback {
public:
    [[nodiscard]] static std::unique_ptr<Mp3Playback> Open(const std::string& utf8Path);
    ~Mp3Playback();
    Mp3Playback(const Mp3Playback&) = delete;
    Mp3Playback& operator=(const Mp3Playback&) = delete;

    // Starts the worker once; later calls do nothing.
    void Start();
    // Blocks until the playback has ended; false when no sound output could be opened.
    [[nodiscard]] bool WaitUntilDone();
    [[nodiscard]] bool IsDone() const;
    void Stop();

    struct State;

private:
    explicit Mp3Playback(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state;
    std::thread m_worker;
};

} // namespace tovrik::services
