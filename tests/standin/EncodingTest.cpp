#include "Base64.h"
#include "FormFields.h"
#include "Json.h"
#include "LatinLookalikes.h"
#include "Md5.h"
#include "OcrText.h"
#include "TestSupport.h"
#include "Utf8.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

TEST(FormFieldsTest, DecodesEscapesAndPlusAndKeepsBrokenEscapes) {
    EXPECT_EQ(PercentDecode("a%2Bb%2F%3D+c"), "a+b/= c");
    EXPECT_EQ(PercentDecode("%E4%BD%A0"), "你");
    EXPECT_EQ(PercentDecode("100%"), "100%");
    EXPECT_EQ(PercentDecode("%zz%4"), "%zz%4");
    EXPECT_EQ(PercentDecode("%00"), std::string(1, '\0'));
}

TEST(FormFieldsTest, FirstPairWinsAndEmptyDiffersFromMissing) {
    const FormFields fields = FormFields::Parse("image=&a=1&a=2&&flag&q=x%3Dy");
    EXPECT_EQ(fields.Get("image"), std::optional<std::string>(""));
    EXPECT_EQ(fields.Value("a"), "1");
    EXPECT_EQ(fields.Get("flag"), std::optional<std::string>(""));
    EXPECT_EQ(fields.Value("q"), "x=y");
    EXPECT_FALSE(fields.Get("missing").has_value());
    EXPECT_FALSE(FormFields::Parse("").Get("").has_value());
}

TEST(Base64Test, RoundTripsEveryLengthAndByte) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    for (size_t length = 0; length <= 7; ++length) {
        EXPECT_EQ(Base64Decode(Base64Encode(bytes.substr(250 - length, length))), bytes.substr(250 - length, length));
    }
    EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes);
    EXPECT_EQ(Base64Encode("ab"), "YWI=");
    EXPECT_EQ(Base64Encode("a"), "YQ==");
}

TEST(Base64Test, AcceptsLineBreaksAndMissingPaddingButNotSpacesOrTrailingData) {
    EXPECT_EQ(Base64Decode("YW\r\nI="), "ab");
    EXPECT_EQ(Base64Decode("YWI"), "ab");
    EXPECT_EQ(Base64Decode("YQ"), "a");
    // A "+" sent without escaping arrives as a space after form decoding.
    EXPECT_FALSE(Base64Decode("ab c").has_value());
    EXPECT_FALSE(Base64Decode("YQ==YQ==").has_value());
    EXPECT_FALSE(Base64Decode("Y").has_value());
    EXPECT_FALSE(Base64Decode("YQ===").has_value());
    EXPECT_FALSE(Base64Decode("YQ-_").has_value());
}

TEST(JsonQuoteTest, EscapesWhatJsonRequires) {
    EXPECT_EQ(JsonQuote("a\"b\\c\nd\re\tf"), R"("a\"b\\c\nd\re\tf")");
    EXPECT_EQ(JsonQuote(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
    EXPECT_EQ(JsonQuote("你好"), "\"你好\"");
}

TEST(JsonQuoteTest, AsciiOnlyEscapesBeyondAsciiWithSurrogatePairs) {
    EXPECT_EQ(JsonQuote("你a", true), R"("\u4f60a")");
    EXPECT_EQ(JsonQuote("\xF0\x9F\x98\x80", true), R"("\ud83d\ude00")");
    const auto parsed = test::JsonValue::Parse(JsonQuote("x\xF0\x9F\x98\x80你'\"", true));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->text, "x\xF0\x9F\x98\x80你'\"");
}

TEST(JsonQuoteTest, MalformedUtf8StillGivesValidJson) {
    const std::string quoted = JsonQuote("a\xFF\xC3");
    EXPECT_EQ(quoted, "\"a\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_TRUE(test::JsonValue::Parse(quoted).has_value());
}

TEST(Md5Test, KnownAnswers) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("The quick brown fox jumps over the lazy dog"), "9e107d9d372bb6826bd81d3542a419d6");
    EXPECT_EQ(Md5Hex(std::string("a\0b", 3)), Md5Hex(std::string("a\0b", 3)));
    EXPECT_NE(Md5Hex(std::string("a\0b", 3)), Md5Hex("a"));
}

TEST(Utf8Test, RejectsMalformedOverlongAndSurrogateSequences) {
    EXPECT_EQ(DecodeUtf8("a你\xF0\x9F\x98\x80"), (std::vector<char32_t>{U'a', U'你', U'\U0001F600'}));
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::vector<char32_t>{0xFFFD, 0xFFFD}));
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::vector<char32_t>{0xFFFD, 0xFFFD, 0xFFFD}));
    EXPECT_EQ(DecodeUtf8("\xE4\xBD"), (std::vector<char32_t>{0xFFFD, 0xFFFD}));
    EXPECT_EQ(EncodeUtf8(U"a你\U0001F600"), "a你\xF0\x9F\x98\x80");
    EXPECT_EQ(EncodeUtf8(std::u32string(1, 0xD800)), "\xEF\xBF\xBD");
}

TEST(CleanLineTest, RemovesSpacesBetweenChineseOnly) {
    EXPECT_EQ(CleanLine("今 天 天 气 很 好 ， 我 们\n"), "今天天气很好，我们");
    EXPECT_EQ(CleanLine("  The quick  brown fox \n"), "The quick brown fox");
    EXPECT_EQ(CleanLine("使 用 Tesseract 识 别"), "使用 Tesseract 识别");
    EXPECT_EQ(CleanLine("\xE3\x80\x80全角\xE3\x80\x80"), "全角");
    EXPECT_EQ(CleanLine(" \n"), "");
}

TEST(LatinLookalikesTest, ZerosEndingLowercaseRuns) {
    EXPECT_EQ(WithZeros("libgnutls-daneO GNU TLS library"), "libgnutls-dane0 GNU TLS library");
    EXPECT_EQ(WithZeros("libpulseO"), "libpulse0");
    EXPECT_EQ(WithZeros("libpulseO, libxauO."), "libpulse0, libxau0.");
    // Capital Os of words, acronyms and camel case stay.
    EXPECT_EQ(WithZeros("OK IO GPIO O'Brien fooOpen Ohm"), "OK IO GPIO O'Brien fooOpen Ohm");
    EXPECT_EQ(WithZeros("O"), "O");
    EXPECT_EQ(WithZeros("版本O"), "版本O");
}

TEST(LatinLookalikesTest, LowercaseLsWithinLowercaseWords) {
    EXPECT_EQ(WithLowercaseL("可以是 fuLL-iso、Long-iso、iso"), "可以是 full-iso、Long-iso、iso");
    EXPECT_EQ(WithLowercaseL("--bLock-size 选项"), "--block-size 选项");
    EXPECT_EQ(WithLowercaseL("fuLL"), "full");
    // A word's capital L and capitals stay; camel case does not (the model's "L" is far more
    // often an "l").
    EXPECT_EQ(WithLowercaseL("Linux GNU/Linux LLVM XML mL"), "Linux GNU/Linux LLVM XML ml");
    EXPECT_EQ(WithLowercaseL("getLine"), "getline");
    EXPECT_EQ(WithLowercaseL("L"), "L");
}

TEST(HasIdeographTest, ChineseCharactersButNotMarksOrFullWidthForms) {
    EXPECT_TRUE(HasIdeograph("版本3.14"));
    EXPECT_TRUE(HasIdeograph("\xF0\xA0\x80\x80")); // U+20000, extension B
    EXPECT_FALSE(HasIdeograph("Please check your network connection，"));
    EXPECT_FALSE(HasIdeograph("。、：ＡＢＣ"));
    EXPECT_FALSE(HasIdeograph(""));
}

TEST(CharacterAccuracyTest, CountsEditsInCodePoints) {
    EXPECT_DOUBLE_EQ(test::CharacterAccuracy("今天天气", "今天天和气"), 0.75);
    EXPECT_DOUBLE_EQ(test::CharacterAccuracy("abcd", "abcd"), 1.0);
    EXPECT_DOUBLE_EQ(test::CharacterAccuracy("abcd", ""), 0.0);
}

} // namespace
} // namespace tovrik::standin
