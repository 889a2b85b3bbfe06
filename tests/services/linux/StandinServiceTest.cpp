// The service object against the local stand-in over real HTTP: keys, tokens, signatures and
// the engines' answers as a real service would give them. Fails when the stand-in is not built.
#include "../ServiceHarness.h"
#include "StandinProcess.h"
#include "capture/ImageFile.h"
#include "files/Files.h"
#include "net/HttpTransport.h"
#include "services/SpeechCommands.h"
#include "services/linux/Mp3Player.h"
#include "text/Encoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tovrik::servicetest {
namespace {

using ::testing::Not;
using ::testing::StartsWith;

constexpr const char* kApiKey = "test-api";
constexpr const char* kSecretKey = "test-secret";
constexpr const char* kAppId = "20990000000000042";
constexpr const char* kAppKey = "test-app-key";

// The programs of this build, or others named in the environment (a build without the programs,
// such as the sanitizer build, can borrow them from another build folder).
[[nodiscard]] Text Program(const char* variable, const char* builtPath) {
    const char* chosen = std::getenv(variable);
    return chosen != nullptr ? Text(chosen) : Text(builtPath);
}

// Renders lines (UTF-8) into a PNG with the stand-in's sample renderer; empty when it is missing.
[[nodiscard]] Bytes RenderLines(const TempDirectory& directory, const std::vector<Text>& utf8Lines) {
    const Text renderer = Program("TOVRIK_RENDER_SAMPLE", TOVRIK_RENDER_SAMPLE_PATH);
    const Text output = files::JoinPath(directory.Path(), "strip.png");
    Text command = "'" + renderer + "' '" + output + "'";
    for (const Text& line : utf8Lines) {
        command += " '" + line + "'";
    }
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return files::ReadFile(output).value_or(Bytes());
}

// Characters of a without spaces and line breaks, compared with b the same way.
[[nodiscard]] Text Squeezed(TextView text) {
    Text result;
    for (const char c : text) {
        if (c != ' ' && c != '\r' && c != '\n') {
            result.push_back(c);
        }
    }
    return result;
}

// The stand-in's token secret for these tests, out of the user's data folder.
[[nodiscard]] Text SecretFile() {
    const char* folder = std::getenv("TMPDIR");
    return Text(folder != nullptr && folder[0] != '\0' ? folder : "/tmp") + "/tovrik-services-tests-secret";
}

[[nodiscard]] std::vector<Text> StandinOptions(std::vector<Text> more = {}) {
    std::vector<Text> options{"--api-key", kApiKey, "--secret-key",        kSecretKey,  "--app-id", kAppId,
                              "--app-key", kAppKey, "--token-secret-file", SecretFile()};
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

struct StandinService : ::testing::Test {
    static inline std::unique_ptr<StandinProcess> standin;

    static void SetUpTestSuite() {
        standin = std::make_unique<StandinProcess>(Program("TOVRIK_STANDIN", TOVRIK_STANDIN_PATH), StandinOptions());
    }
    static void TearDownTestSuite() { standin.reset(); }

    TempDirectory directory;
    std::unique_ptr<net::HttpTransport> web = net::MakeWebRequestTransport();
    std::unique_ptr<net::HttpTransport> com = net::MakeComTransport();
    ManualClock clock;
    fakes::FakeKeySource keys;
    fakes::FakeStatusView status;
    fakes::FakeAudioPlayer audio;
    settings::SettingsStore settings{directory.Path()};
    services::RecognitionService service{directory.Path(),
                                         {.webTransport = *web,
                                          .comTransport = *com,
                                          .clock = clock,
                                          .keys = keys,
                                          .status = status,
                                          .audio = audio,
                                          .toJpeg = capture::ToJpegBytes}};

    void SetUp() override {
        if (!standin || !standin->Running()) {
            FAIL() << "the stand-in is not built: " << Program("TOVRIK_STANDIN", TOVRIK_STANDIN_PATH);
        }
        for (const char* key : {"OcrBaseUrl", "TranslateBaseUrl", "YoudaoBaseUrl", "SpeechBaseUrl"}) {
            settings.WriteItem("Service", key, standin->BaseUrl());
        }
        keys.apiKey = kApiKey;
        keys.secretKey = kSecretKey;
        service.SetKeys(kAppId, kAppKey, "", "");
    }
};

TEST_F(StandinService, TokenIsCachedAndReused) {
    const Text token = service.GetAccessToken();
    ASSERT_FALSE(token.empty());
    const Text getTime = settings.ReadItem("OCR", "GetTime");
    EXPECT_EQ(settings.ReadItem("OCR", "AccessToken"), token);
    EXPECT_EQ(settings.ReadItem("OCR", "ExpiresTime"), "2592000");

    clock.now.second += 5;
    EXPECT_EQ(service.GetAccessToken(), token);
    EXPECT_EQ(settings.ReadItem("OCR", "GetTime"), getTime);
}

TEST_F(StandinService, RenewedWhenOneMillisecondRemains) {
    const Text first = service.GetAccessToken();
    ASSERT_FALSE(first.empty());
    const Text expires = settings.ReadItem("OCR", "ExpiresTime");
    const long long now = std::stoll(settings::TimestampText(clock));
    settings.WriteItem("OCR", "GetTime", std::to_string(now - std::stoll(expires) * 1000 + 1));

    const Text second = service.GetAccessToken();
    EXPECT_FALSE(second.empty());
    EXPECT_NE(second, first);
    EXPECT_EQ(settings.ReadItem("OCR", "AccessToken"), second);
}

TEST_F(StandinService, ForceReloadsTheKeysFromTheBoxes) {
    service.SetKeys(kAppId, kAppKey, "stale-api", "stale-secret");
    EXPECT_FALSE(service.GetAccessToken(true).empty());
    EXPECT_EQ(keys.Reads(), 2);
    EXPECT_TRUE(keys.Errors().empty());
}

TEST_F(StandinService, WrongKeysShowTheKeyErrorAndKeepTheCache) {
    ASSERT_FALSE(service.GetAccessToken().empty());
    const Text cached = settings.ReadItem("OCR", "AccessToken");
    keys.secretKey = "wrong";

    EXPECT_EQ(service.GetAccessToken(true), "");

    ASSERT_EQ(keys.Errors().size(), 1u);
    EXPECT_THAT(keys.Errors()[0], StartsWith("错误的Api Key"));
    EXPECT_EQ(settings.ReadItem("OCR", "AccessToken"), cached);
}

TEST_F(StandinService, RecognisesEnglishAndChineseLines) {
    const Bytes picture = RenderLines(directory, {"Hello world 2024", text::TextToUtf8("今天天气很好")});
    ASSERT_FALSE(picture.empty());

    const Text basic = service.RecognizeBasic(picture);
    EXPECT_EQ(Squeezed(basic), Squeezed("Hello world 2024今天天气很好")) << text::TextToUtf8(basic);
    EXPECT_TRUE(basic.ends_with("\r\n"));
    EXPECT_THAT(service.JobStatus(), StartsWith("识别完成.耗时(ms):"));

    const Text general = service.RecognizeGeneral(picture);
    EXPECT_EQ(Squeezed(general), Squeezed(basic)) << text::TextToUtf8(general);
}

// A cached token the stand-in never issued (or one of its earlier keys): refused with 110, healed
// by one new token, and what the stand-in then says about the picture is what the user sees.
TEST_F(StandinService, RefusedCachedTokenIsRenewedAndTheRecognitionRepeated) {
    settings.WriteItem("OCR", "AccessToken", "24.not-issued-by-this-server");
    settings.WriteItem("OCR", "GetTime", settings::TimestampText(clock));
    settings.WriteItem("OCR", "ExpiresTime", "3600");
    EXPECT_EQ(service.RecognizeGeneral("any picture"), "error_code:216201");
    const Text renewed = settings.ReadItem("OCR", "AccessToken");
    EXPECT_THAT(renewed, Not(StartsWith("24.not-issued")));
    EXPECT_EQ(settings.ReadItem("OCR", "TokenBaseUrl"), standin->BaseUrl());

    settings.WriteItem("OCR", "AccessToken", "24.not-issued-by-this-server");
    const Bytes picture = RenderLines(directory, {"Healed token"});
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(Squeezed(service.RecognizeBasic(picture)), "Healedtoken");
    EXPECT_EQ(service.LastFailure(), "");
    // Not a picture: refused before anything is sent, so nothing of the service is to tell.
    EXPECT_EQ(service.RecognizeBasic("any picture"), "");
    EXPECT_EQ(service.LastFailure(), "");
}

TEST_F(StandinService, CachedTokenOfAnotherAddressIsNotSentThere) {
    ASSERT_FALSE(service.GetAccessToken().empty());
    const Text first = settings.ReadItem("OCR", "AccessToken");
    settings.WriteItem("OCR", "TokenBaseUrl", "http://127.0.0.1:1");
    const Text second = service.GetAccessToken();
    EXPECT_FALSE(second.empty());
    EXPECT_NE(second, first);
    EXPECT_EQ(settings.ReadItem("OCR", "TokenBaseUrl"), standin->BaseUrl());
}

// The stand-in started again on its port with its secret file takes the token it issued
// before: the cache goes on being used, no new token is asked for.
TEST_F(StandinService, CachedTokenOutlivesARestartOfTheStandin) {
    const Text executable = Program("TOVRIK_STANDIN", TOVRIK_STANDIN_PATH);
    auto own = std::make_unique<StandinProcess>(executable, StandinOptions());
    ASSERT_TRUE(own->Running());
    const Text base = own->BaseUrl();
    settings.WriteItem("Service", "OcrBaseUrl", base);
    ASSERT_FALSE(service.GetAccessToken().empty());
    const Text token = settings.ReadItem("OCR", "AccessToken");
    const Text getTime = settings.ReadItem("OCR", "GetTime");

    const Text port = base.substr(base.rfind(':') + 1);
    own.reset();
    own = std::make_unique<StandinProcess>(executable, StandinOptions({"--port", port}));
    ASSERT_TRUE(own->Running());
    ASSERT_EQ(own->BaseUrl(), base);

    const Bytes picture = RenderLines(directory, {"After restart"});
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ(Squeezed(service.RecognizeBasic(picture)), "Afterrestart");
    EXPECT_EQ(settings.ReadItem("OCR", "AccessToken"), token);
    EXPECT_EQ(settings.ReadItem("OCR", "GetTime"), getTime);
}

TEST_F(StandinService, SignedTranslationIsAcceptedAndSpoken) {
    const Text result = service.TranslateBaidu("hello");
    EXPECT_THAT(result, Not(StartsWith("error_code:")));
    EXPECT_TRUE(result.ends_with("\r\n"));
    EXPECT_TRUE(services::HasDoubleByteChar(result)) << text::TextToUtf8(result);
    EXPECT_TRUE(audio.OpenedFile().has_value());
}

TEST_F(StandinService, WrongTranslationKeyGivesAnErrorCode) {
    service.SetKeys(kAppId, "wrong-key", "", "");
    EXPECT_THAT(service.TranslateBaidu("hello"), StartsWith("error_code:"));
    EXPECT_TRUE(audio.Commands().empty());
}

TEST_F(StandinService, PlainTextTranslation) {
    const Text result = service.TranslateYoudao("hello");
    EXPECT_NE(result, "\r\n");
    EXPECT_TRUE(result.ends_with("\r\n"));
    EXPECT_THAT(service.JobStatus(), StartsWith("翻译完成.耗时(ms):"));
}

TEST_F(StandinService, SpeechIsAnMp3ThePlayerAccepts) {
    service.Speak("你好");
    ASSERT_TRUE(audio.OpenedFile().has_value());
    const Text path = files::JoinPath(directory.Path(), "check.mp3");
    ASSERT_TRUE(files::WriteFile(path, *audio.OpenedFile()));
    services::Mp3Player player;
    EXPECT_EQ(player.SendCommand("open \"" + path + "\" alias check"), 0u);
    EXPECT_EQ(player.SendCommand("close check"), 0u);
}

} // namespace
} // namespace tovrik::servicetest
