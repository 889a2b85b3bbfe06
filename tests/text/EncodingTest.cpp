#include "TextTestUtil.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tovrik::text {

using testing::Hex;
using testing::Units;
using testing::Wide;

TEST(Encoding, WideResultsKeepTheTerminatorAndConversionsBackStopAtIt) {
    EXPECT_EQ(Units(LocalToWide("中a")), "4E2D 0061 0000");
    EXPECT_EQ(Units(LocalToWide("")), "0000");
    // The terminator never reaches the way back, nor does anything after a zero unit.
    EXPECT_EQ(WideToLocal(LocalToWide("中a")), "中a");
    EXPECT_EQ(WideToLocal(Wide(std::u16string(u"x\0y", 3))), "x");
    EXPECT_EQ(WideToLocal(""), "");
}

TEST(Encoding, ZeroBytesEndByteArraysBeforeConversion) {
    EXPECT_EQ(Utf8ToText(Bytes("ab\0\xE4\xB8\xAD", 6)), "ab");
    EXPECT_EQ(TextToUtf8(Text("a\0b", 3)), "a");
    EXPECT_EQ(Units(MultiByteToWide(Bytes("\0abc", 4), kCodePageUtf8)), "0000");
}

TEST(Encoding, OddUtf16ByteCountsEndWithAHalfUnit) {
    // The last byte pairs with a zero high byte, as the appended terminator completes it.
    EXPECT_EQ(WideToLocal(Bytes("a\0b", 3)), "ab");
    EXPECT_EQ(WideToLocal(Bytes("a\0\0", 3)), "a");
    EXPECT_EQ(WideToLocal(Bytes("a", 1)), "a");
}

TEST(Encoding, RoundTripsBetweenGbkAndUtf8) {
    const Text sample = "截图 OCR：识别结果\r\n翻译\t€";
    const Bytes utf8 = TextToUtf8(sample);
    EXPECT_EQ(utf8, "\xE6\x88\xAA\xE5\x9B\xBE OCR\xEF\xBC\x9A\xE8\xAF\x86\xE5\x88\xAB\xE7\xBB\x93\xE6\x9E\x9C\r\n"
                    "\xE7\xBF\xBB\xE8\xAF\x91\t\xE2\x82\xAC");
    EXPECT_EQ(Utf8ToText(utf8), sample);
    // Every GBK character survives the trip through UTF-16 and back.
    Text everyCharacter;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F) {
                everyCharacter.push_back(static_cast<char>(lead));
                everyCharacter.push_back(static_cast<char>(trail));
            }
        }
    }
    EXPECT_EQ(Utf8ToText(TextToUtf8(everyCharacter)), everyCharacter);
}

TEST(Encoding, TextToUtf8IsTheTwoStepConversionAlsoAcrossLongTexts) {
    // Long runs without a byte below 0x40, lead bytes at every offset, and a broken tail.
    Text text;
    for (int i = 0; i < 40000; ++i) {
        text += (i % 7 == 0) ? "\x81" : "中\x95\\A";
        if (i % 5000 == 0) {
            text += " ";
        }
    }
    text += "\x81";
    EXPECT_EQ(TextToUtf8(text), WideToMultiByte(LocalToWide(text), kCodePageUtf8));
    EXPECT_EQ(TextToUtf8(Text(70000, 'x')), Text(70000, 'x'));
}

TEST(Encoding, Utf8ToTextIsTheTwoStepConversionAlsoAcrossLongTexts) {
    // Malformed sequences next to ASCII runs at every offset, and leads that swallow the tail.
    const Bytes pieces[] = {"\xE4\xB8\xAD", "abc",          "\xF0\x41", "\xE4\xB8",
                            "xy",           "\xF4\x90\x80", "\x80",     "\xF0\x9F\x98\x80"};
    Bytes utf8;
    for (int i = 0; i < 30000; ++i) {
        utf8 += pieces[(i * 7 + i / 3) % 8];
    }
    for (const Bytes& tail : {Bytes(), Bytes("abc\xF0\x41"), Bytes("abc\xE4"), Bytes("abc\xF0")}) {
        const Bytes input = utf8 + tail;
        EXPECT_EQ(Utf8ToText(input), WideToLocal(MultiByteToWide(input, kCodePageUtf8))) << Hex(tail);
    }
    EXPECT_EQ(Utf8ToText(Bytes(70000, 'x')), Text(70000, 'x'));
}

TEST(Encoding, UnknownCodePagesGiveEmptyResults) {
    EXPECT_EQ(MultiByteToWide("abc", 12345), "");
    EXPECT_EQ(WideToMultiByte(Wide(u"abc"), 12345), "");
}

TEST(Encoding, HundredMegabytesConvertWhole) {
    // Large input must neither fail nor go quadratic; the size shows nothing was lost.
    const Bytes utf8 = [] {
        Bytes repeated = "\xE4\xB8\xAD\xE6\x96\x87 text, ";
        while (repeated.size() < 100u * 1024 * 1024) {
            repeated += repeated;
        }
        return repeated;
    }();
    const std::size_t pieces = utf8.size() / 13;
    const Text text = Utf8ToText(utf8);
    EXPECT_EQ(text.size(), pieces * 11);
    EXPECT_EQ(text.substr(0, 11), "中文 text, ");
    EXPECT_EQ(text.substr(text.size() - 11), "中文 text, ");
}

} // namespace tovrik::text
