#include "DictionaryIndex.h"
#include "DictionaryTranslator.h"
#include "Md5.h"
#include "TestSupport.h"
#include "TranslationService.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

using test::JsonValue;
using test::UrlEncode;

class TranslationServiceTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        s_index =
            std::make_unique<std::optional<DictionaryIndex>>(DictionaryIndex::Load(DefaultDictionaryPath(), error));
        ASSERT_TRUE(s_index->has_value()) << error;
    }
    static void TearDownTestSuite() { s_index.reset(); }
    static std::unique_ptr<std::optional<DictionaryIndex>> s_index;

    DictionaryTranslator m_translator{**s_index};
    TranslationService m_service{"app", "key", m_translator};

    static std::string SignedBody(const std::string& q, const std::string& from, const std::string& to,
                                  const std::string& sign) {
        return "q=" + UrlEncode(q) + "&from=" + from + "&to=" + to + "&appid=app&salt=1700000000&sign=" + sign;
    }
    static std::string Sign(const std::string& q) { return Md5Hex("app" + q + "1700000000" + "key"); }

    std::string ErrorCode(const std::string& body) {
        const Reply reply = m_service.Signed(FormFields::Parse(body));
        const auto json = JsonValue::Parse(reply.body);
        return json && json->Has("error_code") ? json->Find("error_code")->text : "none";
    }
};

std::unique_ptr<std::optional<DictionaryIndex>> TranslationServiceTest::s_index;

TEST_F(TranslationServiceTest, SignedRequestGivesOneEntryPerLine) {
    const std::string q = "Hello world\r\n\nthe library";
    const Reply reply = m_service.Signed(FormFields::Parse(SignedBody(q, "en", "zh", Sign(q))));
    const auto json = JsonValue::Parse(reply.body);
    ASSERT_TRUE(json.has_value()) << reply.body;
    EXPECT_FALSE(json->Has("error_code"));
    const JsonValue* results = json->Find("trans_result");
    ASSERT_NE(results, nullptr);
    ASSERT_EQ(results->items.size(), 2U);
    EXPECT_EQ(results->items[0].Find("src")->text, "Hello world");
    EXPECT_EQ(results->items[0].Find("dst")->text, "你好世界");
    EXPECT_EQ(results->items[1].Find("dst")->text, "图书馆");
    // Non-ASCII text travels as \u escapes, as the public service sends it.
    EXPECT_NE(reply.body.find("\\u4f60"), std::string::npos);
}

TEST_F(TranslationServiceTest, AutoDetectsTheSourceLanguage) {
    const std::string q = "你好";
    const auto json = JsonValue::Parse(m_service.Signed(FormFields::Parse(SignedBody(q, "auto", "en", Sign(q)))).body);
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ(json->Find("from")->text, "zh");
    EXPECT_EQ(json->Find("trans_result")->items.at(0).Find("dst")->text, "Hello");
}

TEST_F(TranslationServiceTest, ChecksTheSignOverTheUtf8Text) {
    const std::string q = "今天天气很好";
    EXPECT_EQ(ErrorCode(SignedBody(q, "zh", "en", Sign(q))), "none");
    EXPECT_EQ(ErrorCode(SignedBody(q, "zh", "en", Sign(q + " "))), "54001");
    EXPECT_EQ(ErrorCode(SignedBody(q, "zh", "en", Md5Hex("app" + q + "1700000001key"))), "54001");
    EXPECT_EQ(ErrorCode(SignedBody(q, "zh", "en", Md5Hex("app" + q + "1700000000wrong"))), "54001");
}

TEST_F(TranslationServiceTest, ReportsMissingFieldsUnknownAppAndBadLanguages) {
    const std::string q = "hello";
    EXPECT_EQ(ErrorCode("q=hello&from=en&to=zh&appid=app&salt=1700000000"), "54000");
    EXPECT_EQ(ErrorCode("q=&from=en&to=zh&appid=app&salt=1700000000&sign=" + Sign("")), "54000");
    EXPECT_EQ(ErrorCode("q=hello&from=en&to=zh&appid=other&salt=1700000000&sign=" + Sign(q)), "52003");
    EXPECT_EQ(ErrorCode(SignedBody(q, "en", "fr", Sign(q))), "58001");
    EXPECT_EQ(ErrorCode(SignedBody(q, "en", "en", Sign(q))), "58001");
}

TEST_F(TranslationServiceTest, PlainTextPutsTheTranslationLastAfterResult) {
    const Reply reply = m_service.PlainText(FormFields::Parse("i=" + UrlEncode("Hello world\r\nthe library\r\n") +
                                                              "&type=AUTO&doctype=text&xmlVersion=1.1&keyfrom=360se"));
    EXPECT_EQ(reply.status, 200);
    const size_t marker = reply.body.find("result=");
    ASSERT_NE(marker, std::string::npos) << reply.body;
    EXPECT_EQ(reply.body.substr(marker), "result=你好世界\r\n图书馆");
    EXPECT_EQ(reply.body.find("result=", marker + 1), std::string::npos);
    EXPECT_NE(reply.body.find("errorCode=0\r\n"), std::string::npos);
}

TEST_F(TranslationServiceTest, PlainTextDirectionAndRefusals) {
    EXPECT_EQ(m_service.PlainText(FormFields::Parse("i=" + UrlEncode("你好") + "&type=AUTO")).body.substr(0, 14),
              "type=ZH_CN2EN\r");
    EXPECT_TRUE(m_service.PlainText(FormFields::Parse("i=&type=AUTO")).body.ends_with("result="));
    const std::string unknownType = m_service.PlainText(FormFields::Parse("i=hello&type=JA2EN")).body;
    EXPECT_EQ(unknownType.find("result="), std::string::npos);
    const std::string tooLong = m_service.PlainText(FormFields::Parse("i=" + std::string(7000, 'a'))).body;
    EXPECT_EQ(tooLong.find("result="), std::string::npos);
}

} // namespace
} // namespace tovrik::standin
