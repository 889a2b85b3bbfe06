#include "json/EngineText.h"
#include "json/ScriptShape.h"

#include <gtest/gtest.h>

namespace tovrik::json {
namespace {

TEST(EngineTextTest, ProgramTextBecomesUtf8AndComesBack) {
    EXPECT_EQ(ToEngineText("plain ascii"), "plain ascii");
    EXPECT_EQ(ToEngineText("中文"), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(FromEngineText("\xE4\xB8\xAD\xE6\x96\x87"), "中文");
    EXPECT_EQ(FromEngineText(ToEngineText("识别 text 结果")), "识别 text 结果");
}

TEST(EngineTextTest, SurrogatePairsEncodedHalfByHalfReadLikeTheCharacter) {
    // U+1F600 as CESU-8 (two encoded halves) and as UTF-8: both are one character that code page
    // 936 lacks, so both come out the same, without swallowing their neighbours.
    const Text cesu = FromEngineText("a\xED\xA0\xBD\xED\xB8\x80z");
    const Text utf8 = FromEngineText("a\xF0\x9F\x98\x80z");
    EXPECT_EQ(cesu, utf8);
    EXPECT_EQ(cesu.front(), 'a');
    EXPECT_EQ(cesu.back(), 'z');
}

TEST(EngineTextTest, MalformedBytesAndZeroCharactersAreContained) {
    const Text broken = FromEngineText("a\xC3z\xE4\xB8 \xFF\x80\xF8");
    EXPECT_EQ(broken.front(), 'a');
    EXPECT_NE(broken.find('z'), Text::npos);
    EXPECT_NE(broken.find(' '), Text::npos);
    EXPECT_EQ(FromEngineText(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(FromEngineText(std::string("\xE4\xB8\xAD\0\xE6\x96\x87", 7)), "中");
}

TEST(ScriptShapeTest, IndexesBecomeVariablesOutsideStringsOnly) {
    const ScriptShape shape = ShapeOf("da.words_result[12].words + da['a[3]'][0] + \"[4]\"");
    ASSERT_TRUE(shape.reusable);
    EXPECT_EQ(shape.text, "da.words_result[__tovrik_index0].words + da['a[3]'][__tovrik_index1] + \"[4]\"");
    EXPECT_EQ(shape.indexes, (std::vector<unsigned>{12, 0}));
    EXPECT_EQ(ShapeOf("da.a[1].b").text, ShapeOf("da.a[2].b").text);
}

TEST(ScriptShapeTest, ScriptsWhoseMeaningCouldChangeKeepTheirText) {
    for (const std::string_view script : {"a[1] / b[2]", "'x'.replace(/[0]/g, '')", "a[07]", "a[-1]", "a[1 ]",
                                          "'unterminated [1]", "__tovrik_index0 + a[1]", "a[1234567890]"}) {
        const ScriptShape shape = ShapeOf(script);
        EXPECT_TRUE(shape.reusable) << script;
        EXPECT_EQ(shape.text, script) << script;
        EXPECT_TRUE(shape.indexes.empty()) << script;
    }
    EXPECT_FALSE(ShapeOf(std::string(ScriptShape::kMaximumLength + 1, 'a')).reusable);
    EXPECT_EQ(ShapeOf("a[0][1][2][3][4][5][6][7][8]").indexes.size(), 0u);
}

} // namespace
} // namespace tovrik::json
