// Known answers for the code-page conversions, measured from the Windows conversion functions
// (flags 0, no default character) and shared by both builds: the Windows build gets them from
// the system, the Linux build from its mirror, and both must agree byte for byte.
#include "TextTestUtil.h"

#include "text/CodePage.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tovrik::text {

using testing::Hex;
using testing::SplitMix;
using testing::Units;
using testing::Wide;

namespace {

struct Case {
    const char* name;
    Bytes input;
    const char* expected;
};

Bytes Raw(const char* bytes, std::size_t size) {
    return Bytes(bytes, size);
}

// Length-prefixed, so that the digest of a series pins every single output.
void AppendRecord(Bytes& series, BytesView output) {
    series.push_back(static_cast<char>(output.size() & 0xFF));
    series.push_back(static_cast<char>(output.size() >> 8));
    series.append(output);
}

// Bytes drawn mostly from the values where UTF-8 decoders disagree.
Bytes RandomUtf8ish(SplitMix& random) {
    static constexpr unsigned char kInteresting[] = {'a',  0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                                     0xC2, 0xDF, 0xE0, 0xE4, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    Bytes bytes(random.Below(9), '\0');
    for (char& c : bytes) {
        const unsigned pick = random.Below(sizeof kInteresting + 4);
        c = static_cast<char>(pick < sizeof kInteresting ? kInteresting[pick] : 1 + random.Below(255));
    }
    return bytes;
}

Bytes RandomUnits(SplitMix& random) {
    static constexpr char16_t kInteresting[] = {u'a',   0x7F,   0x80,   0x7FF,  0x800,  0x4E2D, 0xD800, 0xDBFF,
                                                0xDC00, 0xDFFF, 0xE000, 0xFEFF, 0xFFFD, 0xFFFF, 0x00B2, 0x20AC};
    std::u16string units(random.Below(7), u'\0');
    for (char16_t& unit : units) {
        const unsigned pick = random.Below(sizeof kInteresting / sizeof kInteresting[0] + 4);
        unit = pick < sizeof kInteresting / sizeof kInteresting[0] ? kInteresting[pick]
                                                                   : static_cast<char16_t>(1 + random.Below(0xFFFF));
    }
    return Wide(units);
}

} // namespace

TEST(SystemConversion, MalformedUtf8BecomesReplacementCharactersTheSystemWay) {
    const Case cases[] = {
        {"lone continuation byte", "a\x80z", "0061 FFFD 007A 0000"},
        {"two-byte lead before ASCII", "\xC3\x28", "FFFD 0028 0000"},
        {"three-byte sequence broken by ASCII",
         "\xE4\xB8"
         "A",
         "FFFD 0041 0000"},
        {"C0 and C1 never lead", "\xC0\xAF", "FFFD FFFD 0000"},
        {"overlong three-byte form", "\xE0\x80\xAF", "FFFD FFFD 0000"},
        {"encoded surrogate", "\xED\xA0\x80", "FFFD FFFD 0000"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "FFFD FFFD FFFD 0000"},
        {"F5 and up never lead", "\xF5\x80\x80\x80", "FFFD FFFD FFFD FFFD 0000"},
        {"five-byte form", "\xF8\x88\x80\x80\x80", "FFFD FFFD FFFD FFFD FFFD 0000"},
        {"valid four-byte form", "\xF0\x9F\x98\x80", "D83D DE00 0000"},
        {"highest code point", "\xF4\x8F\xBF\xBF", "DBFF DFFF 0000"},
        {"byte-order mark is a character",
         "\xEF\xBB\xBF"
         "x",
         "FEFF 0078 0000"},
        {"sequence cut by the terminator", "x\xE4\xB8", "0078 FFFD 0000"},
        // A sequence longer than what is left, terminator included, swallows the rest.
        {"four-byte lead two bytes from the end", "\xF0\x41", "FFFD"},
        {"four-byte lead at the end", "a\xF0", "0061 FFFD"},
        {"three-byte lead at the end", "\xE4", "FFFD"},
        {"zero byte ends the input", Raw("a\0b", 3), "0061 0000"},
        {"empty input", "", "0000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Units(MultiByteToWide(c.input, kCodePageUtf8)), c.expected) << c.name;
    }
}

TEST(SystemConversion, GbkDecodingOfIncompleteAndUnusualBytes) {
    const Case cases[] = {
        {"lead byte at the very end", "a\x81", "0061 003F 0000"},
        {"lead byte before an invalid trail takes it along",
         "\x81\x20"
         "b",
         "003F 0062 0000"},
        {"lead byte before DEL", "\x81\x7F", "003F 0000"},
        {"euro sign", "\x80", "20AC 0000"},
        {"0xFF alone",
         "\xFF"
         "A",
         "F8F5 0041 0000"},
        {"ideographic space", "\xA1\xA1", "3000 0000"},
        {"middle dot", "\xA1\xA4", "00B7 0000"},
        {"em dash", "\xA1\xAA", "2014 0000"},
        {"first user-defined area", "\xAA\xA1", "E000 0000"},
        {"second user-defined area", "\xF8\xA1", "E234 0000"},
        {"third user-defined area", "\xA1\x40", "E4C6 0000"},
        {"hole in the grid", "\xA2\xAB", "E766 0000"},
        {"last hole", "\xFE\xA0", "E864 0000"},
        {"three lead bytes", "\x81\x81\x81", "4E96 003F 0000"},
        {"a GB18030 four-byte form is two bad pairs", "\x81\x30\x81\x30", "003F 003F 0000"},
        {"Chinese", "\xD6\xD0\xCE\xC4", "4E2D 6587 0000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Units(LocalToWide(c.input)), c.expected) << c.name;
    }
}

TEST(SystemConversion, GbkEncodingReplacesOrBestFitsWhatItCannotRepresent) {
    struct WideCase {
        const char* name;
        std::u16string input;
        const char* expected;
    };
    const WideCase cases[] = {
        {"euro sign", u"x\u20ACy", "78 80 79"},
        {"outside the BMP, one '?' per unit", u"\U0001F600", "3F 3F"},
        {"lone high surrogate", u"a\xD800z", "61 3F 7A"},
        {"lone low surrogate", u"a\xDC00z", "61 3F 7A"},
        {"replacement character", u"\uFFFD", "3F"},
        {"katakana middle dot", u"\u30FB", "3F"},
        {"no-break space", u"\u00A0", "3F"},
        {"best fit: superscript two", u"\u00B2", "32"},
        {"best fit: yen sign", u"\u00A5", "A3 A4"},
        {"best fit: broken bar", u"\u00A6", "7C"},
        {"horizontal bar", u"\u2015", "A8 44"},
        {"private use", u"\uE000\uF8F5", "AA A1 FF"},
        {"stops at the first zero unit", std::u16string(u"ab\0cd", 5), "61 62"},
    };
    for (const WideCase& c : cases) {
        EXPECT_EQ(Hex(WideToLocal(Wide(c.input))), c.expected) << c.name;
    }
}

TEST(SystemConversion, Utf8EncodingOfUnpairedSurrogates) {
    EXPECT_EQ(Hex(WideToMultiByte(Wide(u"a\xD800z"), kCodePageUtf8)), "61 EF BF BD 7A");
    EXPECT_EQ(Hex(WideToMultiByte(Wide(u"a\xDC00\xD800"), kCodePageUtf8)), "61 EF BF BD EF BF BD");
    EXPECT_EQ(Hex(WideToMultiByte(Wide(u"\U0001F600\uFFFF"), kCodePageUtf8)), "F0 9F 98 80 EF BF BF");
}

TEST(SystemConversion, Utf8ToTextReplacesWithQuestionMarks) {
    EXPECT_EQ(Utf8ToText("a\x80z"), "a?z");
    EXPECT_EQ(Utf8ToText("\xF0\x9F\x98\x80"
                         "!"),
              "??"
              "!");
    EXPECT_EQ(Utf8ToText("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(Utf8ToText("\xC2\xB2"), "2");
    EXPECT_EQ(Utf8ToText("\xE4\xB8\xAD\xE6\x96\x87"), "中文");
    // What a lead byte swallows near the end is gone, terminator included.
    EXPECT_EQ(Utf8ToText("\xF0\x41"), "?");
    EXPECT_EQ(Utf8ToText(""), "");
}

TEST(SystemConversion, TextToUtf8OfIncompleteGbk) {
    EXPECT_EQ(Hex(TextToUtf8("a\x81")), "61 3F");
    EXPECT_EQ(Hex(TextToUtf8("\x80")), "E2 82 AC");
    EXPECT_EQ(Hex(TextToUtf8("\xFF")), "EF A3 B5");
    EXPECT_EQ(TextToUtf8("中文"), "\xE4\xB8\xAD\xE6\x96\x87");
}

// Whole tables and random series, pinned by digests measured from the system's functions.
TEST(SystemConversion, EveryGbkCodeDecodesTheSystemWay) {
    Bytes series;
    for (unsigned byte = 1; byte < 0x100; ++byte) {
        AppendRecord(series, LocalToWide(Text(1, static_cast<char>(byte))));
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 1; trail < 0x100; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            AppendRecord(series, LocalToWide(TextView(pair, 2)));
        }
    }
    EXPECT_EQ(Md5Hex(series), "26c51fe3c68a8e771e3750f62ea061f1");
}

TEST(SystemConversion, EveryUtf16UnitEncodesToGbkTheSystemWay) {
    Bytes series;
    for (unsigned unit = 1; unit < 0x10000; ++unit) {
        AppendRecord(series, WideToLocal(Wide(std::u16string(1, static_cast<char16_t>(unit)))));
    }
    EXPECT_EQ(Md5Hex(series), "a77ecdb1e8b3abef47488ccf0c76deb1");
}

TEST(SystemConversion, RandomSeriesConvertTheSystemWay) {
    SplitMix random(20240601);
    Bytes terminated;
    Bytes counted;
    Bytes toText;
    Bytes toUtf8;
    Bytes toGbk;
    for (int i = 0; i < 20000; ++i) {
        const Bytes utf8 = RandomUtf8ish(random);
        AppendRecord(terminated, MultiByteToWide(utf8, kCodePageUtf8));
        AppendRecord(counted, codepage::ToWide(utf8, kCodePageUtf8));
        AppendRecord(toText, Utf8ToText(utf8));
        const Bytes units = RandomUnits(random);
        AppendRecord(toUtf8, codepage::FromWide(units, kCodePageUtf8));
        AppendRecord(toGbk, codepage::FromWide(units, kCodePageGbk));
    }
    EXPECT_EQ(Md5Hex(terminated), "de33c937575fdeef8d69e25d90cde646");
    EXPECT_EQ(Md5Hex(counted), "98b0ec4ea5d3d3cf7979231bf99f7470");
    EXPECT_EQ(Md5Hex(toText), "143291b271545e5cf7116dc8264eccf5");
    EXPECT_EQ(Md5Hex(toUtf8), "dc72fc229f4f9c24267cbec64073875e");
    EXPECT_EQ(Md5Hex(toGbk), "097feaf41507cf274e8d09c63833db4b");
}

} // namespace tovrik::text
