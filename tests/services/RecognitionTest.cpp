#include "ServiceHarness.h"
#include "text/Encoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tovrik::servicetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Pair;
using ::testing::StartsWith;

// Bytes whose Base64 form, alone or after "JPEG", holds "+", "/" and "=" padding.
const Bytes kImage("\x0f\xbe\xff\xfb", 4);

struct Recognition : ::testing::Test {
    ServiceHarness h;
    void SetUp() override { h.CacheToken("tok", 1000, 3600); }
};

TEST_F(Recognition, EmptyImageSendsNothingAndShowsNothing) {
    EXPECT_EQ(h.service.RecognizeBasic({}), "");
    EXPECT_TRUE(h.web.Requests().empty());
    EXPECT_TRUE(h.status.History().empty());
    EXPECT_TRUE(h.jpegInputs.empty());
}

TEST_F(Recognition, ThreeLinesEachEndWithCrLfAndStatusesShowTheTime) {
    h.clock.tickStep = 532;
    h.web.Script(Reply(text::TextToUtf8(
        R"({"log_id":1,"words_result_num":3,"words_result":[{"words":"第一行"},{"words":"second"},{"words":"3"}]})")));

    EXPECT_EQ(h.service.RecognizeBasic(kImage), "第一行\r\nsecond\r\n3\r\n");

    EXPECT_THAT(h.status.History(),
                ElementsAre(Pair("标签_ocr结果", "正在执行识别...."), Pair("透明标签_执行状态", "正在执行识别...."),
                            Pair("标签_ocr结果", "识别完成.耗时(ms):532"),
                            Pair("透明标签_执行状态", "识别完成.耗时(ms):532")));
    EXPECT_EQ(h.service.JobStatus(), "识别完成.耗时(ms):532");
}

TEST_F(Recognition, BasicBodyIsTheUrlEncodedBase64OfTheJpeg) {
    static_cast<void>(h.service.RecognizeBasic(kImage));

    ASSERT_EQ(h.web.Requests().size(), 1u);
    const net::HttpRequest& request = h.web.LastRequest();
    EXPECT_EQ(request.verb, "POST");
    EXPECT_EQ(AddressOf(request), "https://aip.baidubce.com/rest/2.0/ocr/v1/general_basic?access_token=tok");
    EXPECT_THAT(request.headerBlock, HasSubstr("Content-Type: application/x-www-form-urlencoded"));
    ASSERT_THAT(request.body, StartsWith("image="));
    const Text value = request.body.substr(6);
    EXPECT_EQ(value.find_first_of("+/="), Text::npos) << value;
    EXPECT_THAT(value, HasSubstr("%2B"));
    EXPECT_THAT(value, HasSubstr("%2F"));
    EXPECT_THAT(value, HasSubstr("%3D"));
    EXPECT_EQ(Base64Decode(PercentDecode(value)), "JPEG" + kImage);
    EXPECT_THAT(h.jpegInputs, ElementsAre(kImage));
}

TEST_F(Recognition, APictureThatCannotBeReadIsNeverSent) {
    EXPECT_EQ(h.service.RecognizeBasic(Text(kUnreadablePicture) + " but text"), "");
    EXPECT_TRUE(h.web.Requests().empty()) << "neither a token request nor an empty upload";
    EXPECT_TRUE(h.status.History().empty());
}

TEST_F(Recognition, NoTokenMeansNoRequestAndNoStatus) {
    ServiceHarness fresh; // no cache, no keys: the token request fails with the key error
    fresh.web.Script(Reply(R"({"error":"invalid_client"})"));
    EXPECT_EQ(fresh.service.RecognizeBasic(kImage), "");
    EXPECT_EQ(fresh.web.Requests().size(), 1u); // the token request only
    EXPECT_TRUE(fresh.status.History().empty());
}

TEST_F(Recognition, NoTextFoundGivesEmptyTextAndTheCompletionStatus) {
    h.web.Script(Reply(R"({"words_result":[],"words_result_num":0})"));
    EXPECT_EQ(h.service.RecognizeBasic(kImage), "");
    EXPECT_THAT(h.service.JobStatus(), StartsWith("识别完成.耗时(ms):"));
    EXPECT_EQ(h.service.LastFailure(), "");
}

// What the user can act on, in the status label instead of the completion: which address did
// not answer or took too long, a reply that is no JSON (with its status line), the service's
// own error code and message.
TEST_F(Recognition, FailuresAreToldApartInTheStatus) {
    h.settings.WriteItem("Service", "OcrBaseUrl", "http://127.0.0.1:8780");
    const std::vector<std::pair<net::HttpResponse, Text>> cases = {
        {Failed(net::HttpFailure::TimedOut), "识别失败:127.0.0.1:8780 应答超时!"},
        {Failed(net::HttpFailure::NoAnswer), "识别失败:127.0.0.1:8780 没有应答!"},
        {net::HttpResponse{true, 502, "HTTP/1.1 502 Bad Gateway\r\nServer: x\r\n\r\n", "<html>502</html>"},
         "识别失败:127.0.0.1:8780 的应答不是JSON(HTTP/1.1 502 Bad Gateway)!"},
        {Reply(""), "识别失败:127.0.0.1:8780 的应答是空的!"},
        {Reply(text::TextToUtf8(R"({"error_code":17,"error_msg":"Open api daily request limit reached"})")),
         "识别失败:error_code:17,error_msg:Open api daily request limit reached"},
        {Reply(R"({"error_code":216201,"error_msg":"image format error"})"),
         "识别失败:error_code:216201,error_msg:image format error"},
    };
    for (const auto& [response, expected] : cases) {
        h.web.Script(response);
        EXPECT_EQ(h.service.RecognizeBasic(kImage), "") << expected;
        EXPECT_EQ(h.service.LastFailure(), expected);
        EXPECT_EQ(h.status.Caption("透明标签_执行状态"), expected);
        EXPECT_EQ(h.status.Caption("标签_ocr结果"), expected);
    }
    EXPECT_EQ(h.web.Requests().size(), cases.size());
}

// The cache was trusted, the service no longer knows the token: one new token, the same
// request again, and only then a verdict.
TEST_F(Recognition, RefusedTokenIsRenewedOnceAndTheRequestRepeated) {
    for (const char* refusal : {R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})",
                                R"({"error_code":111,"error_msg":"Access token expired"})",
                                R"({"error":"invalid_client","error_description":"unknown client id"})"}) {
        ServiceHarness fresh;
        fresh.CacheToken("stale", 1000, 3600);
        fresh.keys.apiKey = "box-api";
        fresh.keys.secretKey = "box-secret";
        fresh.web.Script(Reply(refusal));
        fresh.ScriptToken("renewed");
        fresh.web.Script(Reply(R"({"words_result":[{"words":"healed"}]})"));

        EXPECT_EQ(fresh.service.RecognizeBasic(kImage), "healed\r\n") << refusal;

        const auto& requests = fresh.web.Requests();
        ASSERT_EQ(requests.size(), 3u) << refusal;
        EXPECT_THAT(requests[0].url, HasSubstr("access_token=stale"));
        EXPECT_THAT(requests[1].url, HasSubstr("/oauth/2.0/token"));
        EXPECT_THAT(requests[2].url, HasSubstr("access_token=renewed"));
        EXPECT_EQ(requests[2].body, requests[0].body);
        EXPECT_EQ(fresh.settings.ReadItem("OCR", "AccessToken"), "renewed");
        EXPECT_THAT(fresh.service.JobStatus(), StartsWith("识别完成.耗时(ms):"));
        EXPECT_EQ(fresh.jpegInputs.size(), 1u);
    }
}

TEST_F(Recognition, TokenRefusedAgainAfterRenewalIsReportedWithoutAnotherRound) {
    h.web.SetFallback(Reply(R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"));
    h.web.Script(Reply(R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"));
    h.ScriptToken("renewed");

    EXPECT_EQ(h.service.RecognizeBasic(kImage), "");

    EXPECT_EQ(h.web.Requests().size(), 3u);
    EXPECT_EQ(h.service.JobStatus(), "识别失败:error_code:110,error_msg:Access token invalid or no longer valid");
}

TEST_F(Recognition, RenewalThatFailsReportsWhyNoTokenCame) {
    h.web.Script(Reply(R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"));
    h.web.Script(Failed(net::HttpFailure::TimedOut));

    EXPECT_EQ(h.service.RecognizeBasic(kImage), "");

    EXPECT_EQ(h.web.Requests().size(), 2u);
    EXPECT_EQ(h.service.JobStatus(), "识别失败:aip.baidubce.com 应答超时!");
}

TEST_F(Recognition, TokenEndpointThatDoesNotAnswerIsShownAndNothingIsPosted) {
    ServiceHarness fresh;
    fresh.service.SetKeys("", "", "api", "secret");
    fresh.web.Script(Failed(net::HttpFailure::NoAnswer));
    EXPECT_EQ(fresh.service.RecognizeBasic(kImage), "");
    EXPECT_EQ(fresh.web.Requests().size(), 1u);
    EXPECT_EQ(fresh.status.Caption("透明标签_执行状态"), "识别失败:aip.baidubce.com 没有应答!");
}

TEST_F(Recognition, ElementWithoutWordsStillGetsItsLineBreak) {
    h.web.Script(Reply(R"({"words_result":[{"words":"a"},{"location":{}},{"words":"c"}]})"));
    EXPECT_EQ(h.service.RecognizeBasic(kImage), "a\r\n\r\nc\r\n");
}

TEST_F(Recognition, GeneralSendsTheImageUnchangedAsADataUrl) {
    static_cast<void>(h.service.RecognizeGeneral(kImage));

    EXPECT_TRUE(h.web.Requests().empty());
    ASSERT_EQ(h.com.Requests().size(), 1u);
    const net::HttpRequest& request = h.com.LastRequest();
    EXPECT_EQ(request.verb, "POST");
    EXPECT_EQ(AddressOf(request), "https://aip.baidubce.com/rest/2.0/ocr/v1/general?access_token=tok");
    EXPECT_THAT(request.headerBlock, HasSubstr("Content-Type: application/x-www-form-urlencoded"));
    ASSERT_THAT(request.body, StartsWith("image=data%3Aimage%2Fjpeg%3Bbase64%2C"));
    const Text value = request.body.substr(Text("image=data%3Aimage%2Fjpeg%3Bbase64%2C").size());
    EXPECT_EQ(value.find_first_of("+/="), Text::npos);
    EXPECT_EQ(Base64Decode(PercentDecode(value)), kImage);
    EXPECT_TRUE(h.jpegInputs.empty());
}

TEST_F(Recognition, GeneralReportsTheServiceErrorCode) {
    h.com.Script(Reply(R"({"error_code":216202,"error_msg":"image size error"})"));
    EXPECT_EQ(h.service.RecognizeGeneral(kImage), "error_code:216202");
    EXPECT_EQ(h.service.LastFailure(), "识别失败:error_code:216202,error_msg:image size error");
}

TEST_F(Recognition, GeneralRenewsARefusedTokenOnceToo) {
    h.com.Script(Reply(R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"));
    h.ScriptToken("renewed");
    h.com.Script(Reply(R"({"words_result":[{"words":"x"}]})"));
    EXPECT_EQ(h.service.RecognizeGeneral(kImage), "x\r\n");
    ASSERT_EQ(h.com.Requests().size(), 2u);
    EXPECT_THAT(h.com.LastRequest().url, HasSubstr("access_token=renewed"));

    // When no new token comes, the refusal stands.
    h.com.Script(Reply(R"({"error_code":111})"));
    h.web.Script(Failed(net::HttpFailure::NoAnswer));
    EXPECT_EQ(h.service.RecognizeGeneral(kImage), "error_code:111");
}

TEST_F(Recognition, GeneralJoinsLinesAndShowsNoStatus) {
    h.com.Script(Reply(R"({"words_result":[{"words":"x"},{"words":"y"}]})"));
    EXPECT_EQ(h.service.RecognizeGeneral(kImage), "x\r\ny\r\n");
    h.com.Script(Reply("not json"));
    EXPECT_EQ(h.service.RecognizeGeneral(kImage), "");
    EXPECT_TRUE(h.status.History().empty());
}

TEST_F(Recognition, GeneralStillSendsWithoutAToken) {
    ServiceHarness fresh;
    fresh.web.Script(Reply(R"({"error":"invalid_client"})"));
    fresh.com.Script(Reply(R"({"error_code":110})"));
    EXPECT_EQ(fresh.service.RecognizeGeneral(kImage), "error_code:110");
    EXPECT_EQ(AddressOf(fresh.com.LastRequest()), "https://aip.baidubce.com/rest/2.0/ocr/v1/general?access_token=");
}

TEST(JobStatus, TranslationTextsGoAboveTheTranslationBox) {
    ServiceHarness h;
    h.service.ShowJobStatus("正在执行翻译....");
    h.service.ShowJobStatus("识别完成.耗时(ms):7");
    EXPECT_THAT(h.status.History(),
                ElementsAre(Pair("标签_翻译结果", "正在执行翻译...."), Pair("透明标签_执行状态", "正在执行翻译...."),
                            Pair("标签_ocr结果", "识别完成.耗时(ms):7"),
                            Pair("透明标签_执行状态", "识别完成.耗时(ms):7")));
    EXPECT_EQ(h.status.Caption("标签_翻译结果"), "正在执行翻译...."); // never set back
}

} // namespace
} // namespace tovrik::servicetest
