#pragma once

#include "fakes/FakeAudioPlayer.h"
#include "fakes/FakeKeySource.h"
#include "fakes/FakeStatusView.h"
#include "services/RecognitionService.h"
#include "settings/Clock.h"
#include "settings/SettingsStore.h"
#include "settings/Timestamp.h"
#include "util/FakeHttpTransport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tovrik::servicetest {

// A clock the test sets; each tick reading advances by tickStep.
class ManualClock final : public settings::Clock {
public:
    settings::LocalDateTime now{2024, 5, 1, 12, 0, 0, 500};
    mutable std::uint64_t tick = 10'000;
    std::uint64_t tickStep = 0;

    [[nodiscard]] settings::LocalDateTime Now() const override { return now; }
    [[nodiscard]] std::uint64_t TickCount() const override {
        const std::uint64_t value = tick;
        tick += tickStep;
        return value;
    }
};

// A fresh, empty program directory, removed afterwards.
class TempDirectory {
public:
    TempDirectory() {
        static std::atomic<int> counter{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("tovrik-services-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  std::to_string(counter++));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // ASCII, so program text and the file system agree.
    [[nodiscard]] Text Path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

[[nodiscard]] inline net::HttpResponse Reply(Bytes body, int status = 200) {
    return net::HttpResponse{true, status, {}, std::move(body)};
}
// An exchange that was set up but brought no usable reply.
[[nodiscard]] inline net::HttpResponse Failed(net::HttpFailure failure) {
    return net::HttpResponse{true, 0, {}, {}, failure};
}

// The service with every port faked; JPEG "encoding" marks its input so tests can follow it,
// and fails (empty bytes) for input that starts with kUnreadablePicture.
inline constexpr TextView kUnreadablePicture = "not a picture";

struct ServiceHarness {
    TempDirectory directory;
    testutil::FakeHttpTransport web;
    testutil::FakeHttpTransport com;
    ManualClock clock;
    fakes::FakeKeySource keys;
    fakes::FakeStatusView status;
    fakes::FakeAudioPlayer audio;
    std::vector<Bytes> jpegInputs;
    settings::SettingsStore settings{directory.Path()};
    services::RecognitionService service{directory.Path(),
                                         {.webTransport = web,
                                          .comTransport = com,
                                          .clock = clock,
                                          .keys = keys,
                                          .status = status,
                                          .audio = audio,
                                          .toJpeg = [this](BytesView image) {
                                              jpegInputs.emplace_back(image);
                                              return image.starts_with(kUnreadablePicture) ? Bytes()
                                                                                           : "JPEG" + Bytes(image);
                                          }}};

    [[nodiscard]] Text Now13() const { return settings::TimestampText(clock); }
    // A token in the cache that was stored ageMs ago and lives expiresSeconds.
    void CacheToken(TextView token, std::int64_t ageMs, std::int64_t expiresSeconds) const {
        settings.WriteItem("OCR", "AccessToken", token);
        settings.WriteItem("OCR", "GetTime", std::to_string(std::stoll(Now13()) - ageMs));
        settings.WriteItem("OCR", "ExpiresTime", std::to_string(expiresSeconds));
    }
    void ScriptToken(TextView token = "tok-1") {
        web.Script(Reply(R"({"access_token":")" + Text(token) + R"(","expires_in":2592000})"));
    }
    // Which cache items say who issued the token.
    void CacheOwner(TextView ocrBase, TextView apiKey) const {
        settings.WriteItem("OCR", "TokenBaseUrl", ocrBase);
        settings.WriteItem("OCR", "TokenApiKey", apiKey);
    }
};

// The address a request went to, written the usual way (no default port), whichever client
// shaped it.
[[nodiscard]] inline Text AddressOf(const net::HttpRequest& request) {
    Text address = request.secure ? "https://" : "http://";
    address += request.host;
    if (request.port != (request.secure ? 443 : 80)) {
        address += ':';
        address += std::to_string(request.port);
    }
    address += request.path;
    return address;
}

// Percent-decoding of a form value (no "+" handling: the services never send a space).
[[nodiscard]] Text PercentDecode(TextView text);
[[nodiscard]] Bytes Base64Decode(TextView text);

} // namespace tovrik::servicetest
