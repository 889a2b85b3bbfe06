// The service over the platform's real HTTP clients against a recording server on 127.0.0.1:
// what arrives on the wire, byte for byte.
#include "ServiceHarness.h"
#include "net/HttpTransport.h"
#include "text/Encoding.h"
#include "util/HttpTestServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tovrik::servicetest {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

[[nodiscard]] testutil::CannedReply Answer(const testutil::RecordedRequest& request) {
    testutil::CannedReply reply;
    const Text& target = request.target;
    if (target.starts_with("/oauth/2.0/token")) {
        reply.body = R"({"access_token":"24.live","expires_in":2592000})";
    } else if (target.starts_with("/rest/2.0/ocr/v1/general_basic?access_token=24.live")) {
        reply.body = text::TextToUtf8(R"({"words_result":[{"words":"Hello"},{"words":"你好"},{"words":"42"}]})");
    } else if (target.starts_with("/rest/2.0/ocr/v1/general?")) {
        reply.body = R"({"error_code":110,"error_msg":"Access token invalid"})";
    } else if (target.starts_with("/translate?")) {
        reply.body = text::TextToUtf8("errorCode=0\r\nresult=你好\r\n");
    } else if (target.starts_with("/gettts?")) {
        reply.body = "ID3 audio";
    } else {
        reply.status = 404;
        reply.reason = "Not Found";
    }
    return reply;
}

struct ServiceOverHttp : ::testing::Test {
    testutil::HttpTestServer server{Answer};
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
                                          .toJpeg = [](BytesView image) { return Bytes(image); }}};

    void SetUp() override {
        const Text base = "http://" + server.Address();
        for (const char* key : {"OcrBaseUrl", "TranslateBaseUrl", "YoudaoBaseUrl", "SpeechBaseUrl"}) {
            settings.WriteItem("Service", key, base);
        }
        keys.apiKey = "api";
        keys.secretKey = "secret";
    }
};

TEST_F(ServiceOverHttp, TokenIsFetchedOnceThenReusedAcrossCalls) {
    const Bytes image("\xfb\xef\xff", 3);
    EXPECT_EQ(service.RecognizeBasic(image), "Hello\r\n你好\r\n42\r\n");
    EXPECT_EQ(service.RecognizeBasic(image), "Hello\r\n你好\r\n42\r\n");

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].requestLine, "POST /oauth/2.0/token HTTP/1.1");
    EXPECT_EQ(requests[0].body, "grant_type=client_credentials&client_id=api&client_secret=secret");
    EXPECT_THAT(requests[0].Header("User-Agent").value_or(""), StartsWith("Mozilla/5.0 (Windows NT 10.0; WOW64)"));
    EXPECT_EQ(requests[1].target, "/rest/2.0/ocr/v1/general_basic?access_token=24.live");
    EXPECT_EQ(requests[1].body, "image=%2B%2B%2F%2F");
    EXPECT_EQ(requests[1].Header("Content-Type"), Text("application/x-www-form-urlencoded"));
    EXPECT_EQ(settings.ReadItem("OCR", "AccessToken"), "24.live");
}

TEST_F(ServiceOverHttp, GeneralRecognitionOverTheSecondClient) {
    EXPECT_EQ(service.RecognizeGeneral(Bytes("\xfb\xef\xff", 3)), "error_code:110");
    const auto last = server.LastRequest();
    EXPECT_EQ(last.body, "image=data%3Aimage%2Fjpeg%3Bbase64%2C%2B%2B%2F%2F");
    EXPECT_EQ(last.Header("Content-Type"), Text("application/x-www-form-urlencoded"));
}

TEST_F(ServiceOverHttp, TranslationAndSpeech) {
    EXPECT_EQ(service.TranslateYoudao("hello"), "你好\r\n\r\n");
    const auto translation = server.LastRequest();
    EXPECT_EQ(translation.target, "/translate?i=hello&type=AUTO&doctype=text&xmlVersion=1.1&keyfrom=360se");
    EXPECT_EQ(translation.Header("Referer"), "http://" + server.Address() + "/translate");

    service.Speak("你好");
    EXPECT_EQ(server.LastRequest().target, "/gettts?lan=zh&text=%E4%BD%A0%E5%A5%BD&spd=5&source=web");
    EXPECT_EQ(audio.OpenedFile(), Bytes("ID3 audio"));
}

} // namespace
} // namespace tovrik::servicetest
