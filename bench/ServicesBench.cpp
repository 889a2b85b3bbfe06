// The program's own share of a recognition against the warm local stand-in: JPEG re-encoding,
// Base64, URL-encoding, the HTTP request and reading the JSON reply, against the whole
// RecognizeBasic call (target: at most 10 %). Linux release build; starts the stand-in built
// beside this benchmark and renders its 800x200 strips with the sample renderer.
#include "capture/ImageFile.h"
#include "files/Files.h"
#include "net/HttpTransport.h"
#include "net/WebRequest.h"
#include "services/AudioPlayer.h"
#include "services/JobStatusView.h"
#include "services/KeySource.h"
#include "services/RecognitionService.h"
#include "settings/Clock.h"
#include "settings/SettingsStore.h"
#include "settings/SystemClock.h"
#include "text/Encoding.h"
#include "json/JsonDocument.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tovrik;

constexpr const char* kApiKey = "bench-api";
constexpr const char* kSecretKey = "bench-secret";

class QuietKeys final : public services::KeySource {
public:
    [[nodiscard]] Text ApiKeyText() const override { return kApiKey; }
    [[nodiscard]] Text SecretKeyText() const override { return kSecretKey; }
    void ShowKeyError(TextView) override {}
};
class QuietStatus final : public services::JobStatusView {
public:
    void SetLabelCaption(TextView, TextView) override {}
};
class SilentPlayer final : public services::AudioPlayer {
public:
    [[nodiscard]] unsigned SendCommand(TextView) override { return 0; }
};

// The stand-in on a free port; stopped at exit.
class Standin {
public:
    Standin() {
        const Text binary = files::ExecutableDirectory() + "/../standin/tovrik-standin";
        std::vector<Text> arguments{binary, "--port", "0", "--api-key", kApiKey, "--secret-key", kSecretKey};
        std::vector<char*> argv;
        for (Text& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, binary.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        Text line;
        char c = 0;
        pollfd wanted{fds[0], POLLIN, 0};
        while (m_pid > 0 && poll(&wanted, 1, 30'000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') {
            line.push_back(c);
        }
        close(fds[0]);
        if (std::sscanf(line.c_str(), "listening on 127.0.0.1:%d", &m_port) != 1) {
            m_port = 0;
        }
    }
    ~Standin() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Standin(const Standin&) = delete;
    Standin& operator=(const Standin&) = delete;
    [[nodiscard]] bool Running() const { return m_port > 0; }
    [[nodiscard]] Text BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

// Everything one recognition needs, set up once.
struct Rig {
    Standin standin;
    std::filesystem::path directory = std::filesystem::temp_directory_path() / "tovrik-services-bench";
    std::unique_ptr<net::HttpTransport> web = net::MakeWebRequestTransport();
    std::unique_ptr<net::HttpTransport> com = net::MakeComTransport();
    settings::SystemClock clock;
    QuietKeys keys;
    QuietStatus status;
    SilentPlayer audio;
    std::unique_ptr<services::RecognitionService> service;
    Bytes english;
    Bytes chinese;

    Rig() {
        std::filesystem::create_directories(directory);
        const settings::SettingsStore settings(directory.string());
        settings.WriteItem("Service", "OcrBaseUrl", standin.BaseUrl());
        settings.WriteItem("OCR", "AccessToken", "");
        service = std::make_unique<services::RecognitionService>(
            directory.string(), services::ServicePorts{*web, *com, clock, keys, status, audio, capture::ToJpegBytes});
        service->SetKeys("", "", kApiKey, kSecretKey);
        english =
            Render("english.png",
                   {"The quick brown fox jumps over the lazy dog.",
                    "Pack my box with five dozen liquor jugs, 1234567890.", "Sphinx of black quartz, judge my vow.",
                    "How vexingly quick daft zebras jump!", "The five boxing wizards jump quickly."});
        chinese = Render("chinese.png", {"今天天气很好，我们一起去公园散步。", "识别的文字和翻译的结果都在这里。",
                                         "请把这张图片上的文字读出来。", "我们明天早上八点在学校门口见面。",
                                         "这个程序可以把屏幕上的文字变成文本。"});
    }
    ~Rig() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // Five lines at 20 pixels: an 800x190 strip.
    [[nodiscard]] Bytes Render(const char* name, const std::vector<Text>& utf8Lines) const {
        const Text output = (directory / name).string();
        Text command =
            "'" + files::ExecutableDirectory() + "/../standin/tovrik-render-sample' --pixel-size 20 '" + output + "'";
        for (const Text& line : utf8Lines) {
            command += " '" + line + "'";
        }
        if (std::system(command.c_str()) != 0) {
            return {};
        }
        return files::ReadFile(output).value_or(Bytes());
    }
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

// Recognised text as the body of a JSON string.
[[nodiscard]] Text JsonString(TextView text) {
    Text result;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            result.push_back('\\');
        }
        result.push_back(c);
    }
    return result;
}

// <chrono> cannot be compiled with GBK literals; the monotonic clock in milliseconds.
[[nodiscard]] double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One whole RecognizeBasic per iteration, timed in parts alongside: the counters give the
// average milliseconds of each part and the program's share of the total.
void OverheadShare(benchmark::State& state, const Bytes& picture) {
    Rig& rig = TheRig();
    if (!rig.standin.Running() || picture.empty()) {
        state.SkipWithError("stand-in or sample renderer not built");
        return;
    }
    const Text base = rig.standin.BaseUrl();
    // The token is cached from here on, as in a warm program.
    if (rig.service->GetAccessToken().empty()) {
        state.SkipWithError("no token from the stand-in");
        return;
    }
    double total = 0;
    double encode = 0;
    double request = 0;
    double json = 0;
    for (auto _ : state) {
        double start = NowMs();
        const Text lines = rig.service->RecognizeBasic(picture);
        total += NowMs() - start;
        benchmark::DoNotOptimize(lines);

        state.PauseTiming();
        start = NowMs();
        const Text body = "image=" + text::UrlEncode(text::Base64Encode(capture::ToJpegBytes(picture)), true, true);
        encode += NowMs() - start;
        // The same body to an endpoint that refuses the token at once: transfer and client cost
        // without the recognition.
        start = NowMs();
        const Bytes refused = net::WebRequest(*rig.web, base + "/rest/2.0/ocr/v1/general_basic?access_token=x",
                                              {.method = 1, .postText = body});
        request += NowMs() - start;
        Text reply = "{\"words_result\":[";
        for (std::size_t at = 0, line = 0; at < lines.size(); ++line) {
            const std::size_t end = lines.find("\r\n", at);
            reply += (line > 0 ? ",{\"words\":\"" : "{\"words\":\"") + JsonString(lines.substr(at, end - at)) + "\"}";
            at = end + 2;
        }
        reply += "]}";
        start = NowMs();
        json::JsonDocument document("da");
        document.Init();
        benchmark::DoNotOptimize(document.Load(reply));
        for (int i = 0, count = document.Count("words_result"); i < count; ++i) {
            benchmark::DoNotOptimize(document.GetText("words_result[" + std::to_string(i) + "].words"));
        }
        json += NowMs() - start;
        benchmark::DoNotOptimize(refused);
        state.ResumeTiming();
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["total_ms"] = total / n;
    state.counters["encode_ms"] = encode / n;
    state.counters["request_ms"] = request / n;
    state.counters["json_ms"] = json / n;
    state.counters["overhead_share_%"] = 100.0 * (encode + request + json) / total;
}

void BM_RecognizeEnglishStrip(benchmark::State& state) {
    OverheadShare(state, TheRig().english);
}
void BM_RecognizeChineseStrip(benchmark::State& state) {
    OverheadShare(state, TheRig().chinese);
}

BENCHMARK(BM_RecognizeEnglishStrip)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_RecognizeChineseStrip)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
