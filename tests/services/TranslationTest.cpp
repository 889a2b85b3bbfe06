#include "ServiceHarness.h"
#include "services/UnescapeUnicode.h"
#include "text/Encoding.h"
#include "text/ParamList.h"

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

[[nodiscard]] text::ParamList FormOf(TextView body) {
    text::ParamList form;
    form.ParseQuery(body);
    return form;
}

TEST(Youdao, RequestShape) {
    ServiceHarness h;
    static_cast<void>(h.service.TranslateYoudao("你好 world"));

    ASSERT_EQ(h.web.Requests().size(), 1u);
    const net::HttpRequest& request = h.web.LastRequest();
    EXPECT_EQ(request.verb, "GET");
    EXPECT_EQ(AddressOf(request), "http://fanyi.youdao.com/translate?i=%E4%BD%A0%E5%A5%BD+world"
                                  "&type=AUTO&doctype=text&xmlVersion=1.1&keyfrom=360se");
    EXPECT_THAT(request.headerBlock, HasSubstr("Referer: http://fanyi.youdao.com/translate"));
    EXPECT_TRUE(request.body.empty());
}

TEST(Youdao, ResultIsEverythingAfterTheFirstMarkerPlusCrLf) {
    ServiceHarness h;
    h.web.Script(Reply(text::TextToUtf8("errorCode=0\r\nresult=你好\r\n")));
    h.web.Script(Reply("result=a result=b"));
    h.web.Script(Reply("errorCode=50"));

    EXPECT_EQ(h.service.TranslateYoudao("hello"), "你好\r\n\r\n");
    EXPECT_EQ(h.service.TranslateYoudao("x"), "a result=b\r\n");
    EXPECT_EQ(h.service.TranslateYoudao("x"), "\r\n");
    h.web.FailToOpen();
    EXPECT_EQ(h.service.TranslateYoudao("x"), "\r\n");
    EXPECT_EQ(h.web.Requests().size(), 4u);
}

TEST(Youdao, MarkerIsCaseSensitive) {
    ServiceHarness h;
    h.web.Script(Reply("Result=no"));
    EXPECT_EQ(h.service.TranslateYoudao("x"), "\r\n");
}

TEST(Youdao, StatusesGoAboveTheTranslationBoxWithTheElapsedTime) {
    ServiceHarness h;
    h.clock.tickStep = 41;
    h.web.Script(Reply("result=hi"));
    static_cast<void>(h.service.TranslateYoudao("嗨"));
    EXPECT_THAT(h.status.History(),
                ElementsAre(Pair("标签_翻译结果", "正在执行翻译...."), Pair("透明标签_执行状态", "正在执行翻译...."),
                            Pair("标签_翻译结果", "翻译完成.耗时(ms):41"),
                            Pair("透明标签_执行状态", "翻译完成.耗时(ms):41")));
}

TEST(Youdao, FailuresTakeThePlaceOfTheCompletionStatus) {
    ServiceHarness h;
    h.settings.WriteItem("Service", "YoudaoBaseUrl", "http://127.0.0.1:8780");
    const std::vector<std::pair<net::HttpResponse, Text>> cases = {
        {Reply("type=AUTO\r\nerrorCode=50\r\nelapsedTime=0"), "翻译失败:errorCode=50"},
        {Failed(net::HttpFailure::TimedOut), "翻译失败:127.0.0.1:8780 应答超时!"},
        {Failed(net::HttpFailure::NoAnswer), "翻译失败:127.0.0.1:8780 没有应答!"},
        {Reply("<html></html>"), "翻译失败:127.0.0.1:8780 的应答中没有翻译结果!"},
    };
    for (const auto& [response, expected] : cases) {
        h.web.Script(response);
        EXPECT_EQ(h.service.TranslateYoudao("x"), "\r\n");
        EXPECT_EQ(h.service.LastFailure(), expected);
        EXPECT_EQ(h.status.Caption("标签_翻译结果"), expected);
        EXPECT_EQ(h.status.Caption("透明标签_执行状态"), expected);
    }
    h.web.Script(Reply(text::TextToUtf8("errorCode=0\r\nresult=好")));
    EXPECT_EQ(h.service.TranslateYoudao("x"), "好\r\n");
    EXPECT_EQ(h.service.LastFailure(), "");
}

struct Baidu : ::testing::Test {
    ServiceHarness h;
    void SetUp() override { h.service.SetKeys("2015063000000001", "12345678", "", ""); }
};

TEST_F(Baidu, DirectionFollowsTheFlag) {
    static_cast<void>(h.service.TranslateBaidu("apple"));
    static_cast<void>(h.service.TranslateBaidu("苹果", true));
    ASSERT_EQ(h.com.Requests().size(), 2u);
    const auto english = FormOf(h.com.Requests()[0].body);
    EXPECT_EQ(english.GetValue("from"), "en");
    EXPECT_EQ(english.GetValue("to"), "zh");
    const auto chinese = FormOf(h.com.Requests()[1].body);
    EXPECT_EQ(chinese.GetValue("from"), "zh");
    EXPECT_EQ(chinese.GetValue("to"), "en");
}

TEST_F(Baidu, RequestIsSignedOverTheUtf8Text) {
    static_cast<void>(h.service.TranslateBaidu("苹果", true));

    const net::HttpRequest& request = h.com.LastRequest();
    EXPECT_EQ(request.verb, "POST");
    EXPECT_EQ(AddressOf(request), "http://api.fanyi.baidu.com/api/trans/vip/translate");
    EXPECT_THAT(request.headerBlock, HasSubstr("Content-Type: application/x-www-form-urlencoded"));
    EXPECT_THAT(request.headerBlock, HasSubstr("User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64)"));
    const Text salt = settings::TimestampText(h.clock, true);
    ASSERT_EQ(salt.size(), 10u);
    EXPECT_EQ(request.body, "q=%E8%8B%B9%E6%9E%9C&from=zh&to=en&appid=2015063000000001&salt=" + salt + "&sign=" +
                                text::Md5Hex("2015063000000001" + text::TextToUtf8("苹果") + salt + "12345678"));
}

TEST_F(Baidu, SignChangesWithEachPart) {
    const auto signOf = [this](TextView appId, TextView textToSend, TextView key) {
        h.service.SetKeys(appId, key, "", "");
        static_cast<void>(h.service.TranslateBaidu(textToSend));
        return FormOf(h.com.LastRequest().body).GetValue("sign");
    };
    const Text base = signOf("A", "T", "K");
    EXPECT_EQ(base.size(), 32u);
    EXPECT_NE(signOf("B", "T", "K"), base);
    EXPECT_NE(signOf("A", "U", "K"), base);
    EXPECT_NE(signOf("A", "T", "L"), base);
    h.clock.now.second += 1;
    EXPECT_NE(signOf("A", "T", "K"), base);
}

TEST_F(Baidu, TwoEntriesGiveTwoLinesReadAloudAsOneText) {
    h.com.Script(Reply(text::TextToUtf8(
        R"({"from":"en","to":"zh","trans_result":[{"src":"apple","dst":"苹果"},{"src":"pear","dst":"\\u68a8"}]})")));
    h.web.Script(Reply("ID3-audio"));

    EXPECT_EQ(h.service.TranslateBaidu("apple\r\npear"), "苹果\r\n梨\r\n");

    ASSERT_EQ(h.web.Requests().size(), 1u);
    EXPECT_EQ(AddressOf(h.web.LastRequest()),
              "https://fanyi.baidu.com/gettts?lan=zh&text=%E8%8B%B9%E6%9E%9C%0D%0A%E6%A2%A8%0D%0A"
              "&spd=5&source=web");
    EXPECT_THAT(h.audio.Commands(), testing::Contains(StartsWith("play Baidu")));
}

TEST_F(Baidu, ErrorCodeIsReturnedAndNothingSpoken) {
    h.com.Script(Reply(R"({"error_code":"54001","error_msg":"Invalid Sign"})"));
    EXPECT_EQ(h.service.TranslateBaidu("apple"), "error_code:54001");
    EXPECT_TRUE(h.web.Requests().empty());
    EXPECT_TRUE(h.audio.Commands().empty());
}

TEST_F(Baidu, UnreadableReplyGivesEmptyTextAndNothingSpoken) {
    h.com.Script(Reply("<html>gateway</html>"));
    EXPECT_EQ(h.service.TranslateBaidu("apple"), "");
    EXPECT_TRUE(h.audio.Commands().empty());
}

TEST(UnescapeUnicode, DecodesBackslashAndPercentEscapes) {
    EXPECT_EQ(services::UnescapeUnicode("\\u4f60\\u597D!"), "你好!");
    EXPECT_EQ(services::UnescapeUnicode("%u4F60 %41%42"), "你 AB");
    EXPECT_EQ(services::UnescapeUnicode("plain text"), "plain text");
    EXPECT_EQ(services::UnescapeUnicode(""), "");
}

TEST(UnescapeUnicode, KeepsApostrophesLineBreaksAndStrayEscapes) {
    EXPECT_EQ(services::UnescapeUnicode("it's\r\nfine"), "it's\r\nfine");
    EXPECT_EQ(services::UnescapeUnicode("100% \\uZZZZ %u12 %G1 C:\\new"), "100% %uZZZZ %u12 %G1 C:\\new");
    EXPECT_EQ(services::UnescapeUnicode("{$}"), "\r\n");
    // A right quotation mark comes back as an apostrophe.
    EXPECT_EQ(services::UnescapeUnicode("’quoted’"), "'quoted'");
}

TEST(UnescapeUnicode, LeadingCarriageReturnDropsEveryLoneCarriageReturn) {
    EXPECT_EQ(services::UnescapeUnicode("\ra\rb\r\nc"), "ab\r\nc");
    EXPECT_EQ(services::UnescapeUnicode("a\rb"), "a\rb");
}

} // namespace
} // namespace tovrik::servicetest
