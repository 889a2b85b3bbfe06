#include "TextTestUtil.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tovrik::text {

using testing::Hex;
using testing::Wide;

TEST(ConvertCharset, EmptyNamesMeanUtf8ToGbk) {
    const Bytes utf8 = "\xE4\xB8\xAD\xE6\x96\x87 ok";
    EXPECT_EQ(ConvertCharset(utf8), "中文 ok");
    EXPECT_EQ(ConvertCharset(utf8, "", ""), "中文 ok");
    EXPECT_EQ(ConvertCharset(utf8, "UTF-8", "GBK"), "中文 ok");
    EXPECT_EQ(ConvertCharset(""), "");
}

TEST(ConvertCharset, NamesAreCaseInsensitiveAndUnknownNamesGiveNothing) {
    EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", "utf-8", "Gb2312"), "中");
    EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", "UTF8", "gbk"), "中");
    EXPECT_EQ(ConvertCharset("abc", "klingon", "GBK"), "");
    EXPECT_EQ(ConvertCharset("abc", "UTF-8", "klingon"), "");
    EXPECT_EQ(ConvertCharset("abc", "UTF-8 ", "GBK"), "");
}

TEST(ConvertCharset, Utf8AndUnicodeTargetsStartWithAByteOrderMarkThatSkipDrops) {
    EXPECT_EQ(Hex(ConvertCharset("中", "GBK", "UTF-8")), "EF BB BF E4 B8 AD");
    EXPECT_EQ(Hex(ConvertCharset("中", "GBK", "UTF-8", 3)), "E4 B8 AD");
    EXPECT_EQ(Hex(ConvertCharset("中", "GBK", "unicode")), "FF FE 2D 4E");
    EXPECT_EQ(Hex(ConvertCharset("中", "GBK", "Unicode", 2)), "2D 4E");
    EXPECT_EQ(Hex(ConvertCharset("中", "GBK", "UTF-16LE")), "2D 4E");
    EXPECT_EQ(Hex(ConvertCharset("中", "GBK", "GBK")), "D6 D0");
    // The skip count drops converted bytes, not input bytes, and may exceed them.
    EXPECT_EQ(Hex(ConvertCharset("\xE4\xB8\xAD\xE6\x96\x87", {}, {}, 2)), "CE C4");
    EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", {}, {}, 99), "");
    EXPECT_EQ(Hex(ConvertCharset("\xE4\xB8\xAD", {}, {}, 0)), "D6 D0");
}

TEST(ConvertCharset, ASourceByteOrderMarkIsReadNotConverted) {
    EXPECT_EQ(ConvertCharset("\xEF\xBB\xBF\xE4\xB8\xAD"), "中");
    EXPECT_EQ(ConvertCharset("\xFF\xFE\x2D\x4E", "unicode", "GBK"), "中");
}

TEST(ConvertCharset, ZeroBytesAndMalformedInputPassThroughTheConversion) {
    EXPECT_EQ(ConvertCharset(Bytes("a\0\xE4\xB8\xAD", 5)), Bytes("a\0\xD6\xD0", 4));
    EXPECT_EQ(Hex(ConvertCharset(Bytes("a\0", 2), "GBK", "unicode")), "FF FE 61 00 00 00");
    EXPECT_EQ(ConvertCharset("a\x80z"), "a?z");
    // An odd UTF-16 byte count loses only the half unit.
    EXPECT_EQ(ConvertCharset("\x2D\x4E\x61", "UTF-16LE", "GBK"), "中");
}

TEST(ConvertCharset, OtherCharsets) {
    EXPECT_EQ(Hex(ConvertCharset("中文", "GBK", "big5")), "A4 A4 A4 E5");
    EXPECT_EQ(ConvertCharset("\xA4\xA4\xA4\xE5", "BIG5", "GBK"), "中文");
    EXPECT_EQ(ConvertCharset("a\xC3\xA9", "UTF-8", "us-ascii"), "a?");
    EXPECT_EQ(ConvertCharset("a\xE9", "US-ASCII", "GBK"), "a?");
    EXPECT_EQ(ConvertCharset("a\xE9", "iso-8859-1", "GBK"), "a\xA8\xA6");
    EXPECT_EQ(Hex(ConvertCharset("\xA8\xA6中", "GBK", "ISO-8859-1")), "E9 3F");
}

TEST(UnicodeBytesToText, ReadsUtf16AsProgramText) {
    EXPECT_EQ(UnicodeBytesToText(Wide(u"中文 ok")), "中文 ok");
    EXPECT_EQ(UnicodeBytesToText("\xFF\xFE" + Wide(u"中")), "中");
    EXPECT_EQ(UnicodeBytesToText(Wide(u"\U0001F600")), "??");
    // Program text ends at the first zero unit.
    EXPECT_EQ(UnicodeBytesToText(Wide(std::u16string(u"a\0b", 3))), "a");
    EXPECT_EQ(UnicodeBytesToText(""), "");
}

} // namespace tovrik::text
