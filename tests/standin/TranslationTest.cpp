#include "Dictionary.h"
#include "Md5.h"
#include "TestSupport.h"
#include "TranslationService.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

using test::JsonValue;
using test::UrlEncode;

TEST(DictionaryTest, PrefersTheLongestKnownPhrase) {
    const Dictionary dictionary;
    EXPECT_EQ(dictionary.TranslateLine("Hello world", Language::English), "你好世界");
    EXPECT_EQ(dictionary.TranslateLine("hello", Language::English), "你好");
    EXPECT_EQ(dictionary.TranslateLine("今天天气很好", Language::Chinese), "The weather is nice today");
    EXPECT_EQ(dictionary.TranslateLine("天气", Language::Chinese), "Weather");
}

TEST(DictionaryTest, MapsPunctuationAndKeepsUnknownWords) {
    const Dictionary dictionary;
    EXPECT_EQ(dictionary.TranslateLine("Hello, Zorblax!", Language::English), "你好，Zorblax！");
    EXPECT_EQ(dictionary.TranslateLine("Zorblax Quux", Language::English), "Zorblax Quux");
    EXPECT_EQ(dictionary.TranslateLine("你好，世界。", Language::Chinese), "Hello, world.");
    EXPECT_EQ(dictionary.TranslateLine("打开ZuDur.ini文件", Language::Chinese), "Open ZuDur.ini file");
    EXPECT_EQ(dictionary.TranslateLine("", Language::Chinese), "");
}

TEST(DictionaryTest, FindsStemsOfInflectedWords) {
    const Dictionary dictionary;
    EXPECT_EQ(dictionary.TranslateLine("dogs", Language::English), "狗");
    EXPECT_EQ(dictionary.TranslateLine("opened files", Language::English), "打开文件");
    EXPECT_EQ(dictionary.TranslateLine("the cat", Language::English), "猫");
}

TEST(DictionaryTest, DetectsChineseByIdeographsOnly) {
    EXPECT_TRUE(Dictionary::HasChinese("abc 中"));
    EXPECT_FALSE(Dictionary::HasChinese("abc，。"));
    EXPECT_FALSE(Dictionary::HasChinese(""));
}

class TranslationServiceTest : public testing::Test {
protected:
    Dictionary m_dictionary;
    TranslationService m_service{"app", "key", m_dictionary};

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

TEST_F(TranslationServiceTest, SignedRequestGivesOneEntryPerLine) {
    const std::string q = "Hello world\r\n\nthank you";
    const Reply reply = m_service.Signed(FormFields::Parse(SignedBody(q, "en", "zh", Sign(q))));
    const auto json = JsonValue::Parse(reply.body);
    ASSERT_TRUE(json.has_value()) << reply.body;
    EXPECT_FALSE(json->Has("error_code"));
    const JsonValue* results = json->Find("trans_result");
    ASSERT_NE(results, nullptr);
    ASSERT_EQ(results->items.size(), 2U);
    EXPECT_EQ(results->items[0].Find("src")->text, "Hello world");
    EXPECT_EQ(results->items[0].Find("dst")->text, "你好世界");
    EXPECT_EQ(results->items[1].Find("dst")->text, "谢谢你");
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
    const Reply reply = m_service.PlainText(FormFields::Parse("i=" + UrlEncode("Hello world\r\nthank you\r\n") +
                                                              "&type=AUTO&doctype=text&xmlVersion=1.1&keyfrom=360se"));
    EXPECT_EQ(reply.status, 200);
    const size_t marker = reply.body.find("result=");
    ASSERT_NE(marker, std::string::npos) << reply.body;
    EXPECT_EQ(reply.body.substr(marker), "result=你好世界\r\n谢谢你");
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
