#include "ServiceHarness.h"
#include "text/Encoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST_F(Recognition, EmptyOrBrokenRepliesGiveEmptyTextButTheCompletionStatus) {
    for (const char* body : {R"({"words_result":[]})", "", "<html>502</html>", R"({"error_code":110})"}) {
        h.web.Script(Reply(body));
        EXPECT_EQ(h.service.RecognizeBasic(kImage), "") << body;
        EXPECT_THAT(h.service.JobStatus(), StartsWith("识别完成.耗时(ms):")) << body;
    }
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
    h.com.Script(Reply(R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"));
    EXPECT_EQ(h.service.RecognizeGeneral(kImage), "error_code:110");
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
