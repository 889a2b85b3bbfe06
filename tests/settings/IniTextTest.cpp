#include "settings/IniText.h"

#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace tovrik::settings {
namespace {

Text Lookup(BytesView file, TextView section, TextView key) {
    return IniLookup(file, section, key).value_or("<none>");
}

TEST(IniTextTest, NamesMatchWithoutCaseAndBlanksAroundNamesAndValuesAreDropped) {
    const Bytes file = "[Hotkey]\r\n截图热键=Ctrl+F8\r\n  Name  =  spaced value \t\r\n[ OCR ]\r\nAccessToken=abc\r\n";
    EXPECT_EQ(Lookup(file, "Hotkey", "截图热键"), "Ctrl+F8");
    EXPECT_EQ(Lookup(file, "HOTKEY", "name"), "spaced value");
    EXPECT_EQ(Lookup(file, " hotkey ", " NAME "), "spaced value");
    EXPECT_EQ(Lookup(file, "ocr", "accesstoken"), "abc");
    EXPECT_EQ(Lookup(file, "OCR", "截图热键"), "<none>");
    EXPECT_EQ(Lookup(file, "Config", "截图时隐藏"), "<none>");
    EXPECT_EQ(Lookup(file, "", "Name"), "<none>");
    EXPECT_EQ(Lookup("", "Hotkey", "截图热键"), "<none>");
}

TEST(IniTextTest, LinesEndInCrLfLfOrCr) {
    EXPECT_EQ(Lookup("[s]\na=1\nb=2", "s", "b"), "2");
    EXPECT_EQ(Lookup("[s]\ra=1\rb=2\r", "s", "a"), "1");
    EXPECT_EQ(Lookup("[s]\r\n\r\n\r\nb=2\r\n", "s", "b"), "2");
}

TEST(IniTextTest, QuotesCommentsAndLinesWithoutEqualsSign) {
    const Bytes file = "[s]\r\nq=\"quoted value\"\r\nsq='x'\r\nhalf=\"open\r\none=\"\r\n;c=comment\r\nplain line\r\n"
                       "empty=\r\n=no name\r\n";
    EXPECT_EQ(Lookup(file, "s", "q"), "quoted value");
    EXPECT_EQ(Lookup(file, "s", "sq"), "x");
    EXPECT_EQ(Lookup(file, "s", "half"), "\"open");
    EXPECT_EQ(Lookup(file, "s", "one"), "\"");
    EXPECT_EQ(Lookup(file, "s", ";c"), "<none>");
    EXPECT_EQ(Lookup(file, "s", "plain line"), "<none>");
    EXPECT_EQ(Lookup(file, "s", "empty"), "");
    EXPECT_EQ(Lookup(file, "s", ""), "<none>");
}

TEST(IniTextTest, OnlyTheFirstSectionAndTheFirstKeyOfANameCount) {
    const Bytes file = "[s]\r\na=first\r\na=second\r\n[t]\r\nb=t\r\n[S]\r\na=third\r\nc=later\r\n";
    EXPECT_EQ(Lookup(file, "s", "a"), "first");
    EXPECT_EQ(Lookup(file, "s", "c"), "<none>");
    EXPECT_EQ(IniUpdate(file, "s", "a", "new"),
              "[s]\r\na=new\r\na=second\r\n[t]\r\nb=t\r\n[S]\r\na=third\r\nc=later\r\n");
    EXPECT_EQ(IniUpdate(file, "S", "c", "x"),
              "[s]\r\na=first\r\na=second\r\nc=x\r\n[t]\r\nb=t\r\n[S]\r\na=third\r\nc=later\r\n");
}

TEST(IniTextTest, DoubleByteCharactersNeverPoseAsBracketsOrLetters) {
    // 0xB5 0x5D is one character whose second byte equals ']'; 0x81 0x41 / 0x81 0x61 are two
    // different characters whose second bytes are 'A' and 'a'.
    const Bytes file = "[x\xB5\x5D]\r\nk=1\r\n[k\x81\x41]\r\nv=upper\r\n";
    EXPECT_EQ(Lookup(file, "x\xB5\x5D", "k"), "1");
    EXPECT_EQ(Lookup(file, "k\x81\x41", "v"), "upper");
    EXPECT_EQ(Lookup(file, "k\x81\x61", "v"), "<none>");
    EXPECT_EQ(Lookup("[a\xB5]\r\nk=v\r\n", "a\xB5", "k"), "<none>"); // ']' taken by the character
}

TEST(IniTextTest, AChangedValueReplacesOnlyTheValue) {
    const Bytes file = "; settings\r\n[Hotkey]\r\n  截图热键 = Ctrl+F8   \r\nnext=1\n[OCR]\r\n";
    EXPECT_EQ(IniUpdate(file, "hotkey", "截图热键", "Alt+A"),
              "; settings\r\n[Hotkey]\r\n  截图热键 = Alt+A\r\nnext=1\n[OCR]\r\n");
    EXPECT_EQ(IniUpdate("[s]\r\nk=old", "s", "k", ""), "[s]\r\nk=");
}

TEST(IniTextTest, ANewKeyFollowsTheLastFilledLineOfItsSection) {
    const Bytes defaults = "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截图并翻译热键=Ctrl+F11\r\n\r\n";
    EXPECT_EQ(IniUpdate(defaults, "Hotkey", "延时截屏热键", "Ctrl+F12"),
              "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截图并翻译热键=Ctrl+F11\r\n延时截屏热键=Ctrl+F12\r\n\r\n");
    EXPECT_EQ(IniUpdate("[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\n", "a", "y", "2"),
              "[a]\r\nx=1\r\n\r\n; about b\r\ny=2\r\n[b]\r\n");
    EXPECT_EQ(IniUpdate("[a]\r\n\r\n[b]\r\n", "a", "y", "2"), "[a]\r\ny=2\r\n\r\n[b]\r\n");
    EXPECT_EQ(IniUpdate("[a]\r\nx=1", "a", "y", "2"), "[a]\r\nx=1\r\ny=2\r\n");
}

TEST(IniTextTest, ANewSectionGoesAtTheEndOfTheFile) {
    EXPECT_EQ(IniUpdate("", "OCR", "自动翻译", "真"), "[OCR]\r\n自动翻译=真\r\n");
    EXPECT_EQ(IniUpdate("[Hotkey]\r\na=1\r\n\r\n", "OCR", "k", "v"), "[Hotkey]\r\na=1\r\n\r\n[OCR]\r\nk=v\r\n");
    EXPECT_EQ(IniUpdate("[Hotkey]\r\na=1", "OCR", "k", "v"), "[Hotkey]\r\na=1\r\n[OCR]\r\nk=v\r\n");
    EXPECT_EQ(IniUpdate("loose=1\n", "s", "k", "v"), "loose=1\n[s]\r\nk=v\r\n");
}

TEST(IniTextTest, NamesAndValuesAreOneLineEach) {
    const Bytes file = IniUpdate("", "OCR", "AccessToken", "token\r\n[Hotkey]\r\n截图热键=Alt+F4");
    EXPECT_EQ(file, "[OCR]\r\nAccessToken=token\r\n");
    EXPECT_EQ(Lookup(file, "Hotkey", "截图热键"), "<none>");
}

TEST(IniTextTest, ByteOrderMarkedFilesStayInTheirEncoding) {
    const Bytes utf8 = "\xEF\xBB\xBF[Hotkey]\r\n" + text::TextToUtf8("截图热键=Ctrl+F8\r\n");
    EXPECT_EQ(Lookup(utf8, "Hotkey", "截图热键"), "Ctrl+F8");
    const Bytes updated = IniUpdate(utf8, "Hotkey", "截屏并复制热键", "中文");
    EXPECT_EQ(updated, "\xEF\xBB\xBF[Hotkey]\r\n" + text::TextToUtf8("截图热键=Ctrl+F8\r\n截屏并复制热键=中文\r\n"));
    EXPECT_EQ(Lookup(updated, "Hotkey", "截屏并复制热键"), "中文");

    Bytes utf16 = text::MultiByteToWide(text::TextToUtf8("[OCR]\r\n识别ApiKey=abc\r\n"), text::kCodePageUtf8);
    utf16.resize(utf16.size() - 2); // no terminator in a file
    utf16.insert(0, "\xFF\xFE");
    EXPECT_EQ(Lookup(utf16, "ocr", "识别apikey"), "abc");
    const Bytes updated16 = IniUpdate(utf16, "OCR", "识别ApiKey", "新");
    EXPECT_EQ(updated16.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Lookup(updated16, "OCR", "识别ApiKey"), "新");
}

TEST(IniTextTest, BinaryAndOversizedContentIsCarriedAlong) {
    Bytes binary;
    for (int i = 0; i < 3000; ++i) {
        binary += static_cast<char>((i * 37 + 11) % 256);
    }
    (void)IniLookup(binary, "s", "k");
    const Bytes updated = IniUpdate(binary, "s", "k", "v");
    EXPECT_EQ(Lookup(updated, "s", "k"), "v");

    const Bytes zeros("[s]\r\na=x\0y\r\nb=2\r\n", 17);
    EXPECT_EQ(Lookup(zeros, "s", "b"), "2");
    EXPECT_EQ(IniUpdate(zeros, "s", "b", "3"), Bytes("[s]\r\na=x\0y\r\nb=3\r\n", 17));

    const Bytes longValue(1 << 20, 'v');
    const Bytes longLine = "[s]\r\nk=" + longValue + "\r\n" + Bytes(1 << 20, 'x') + "\r\nlast=1\r\n";
    EXPECT_EQ(Lookup(longLine, "s", "k"), longValue);
    EXPECT_EQ(Lookup(longLine, "s", "last"), "1");
}

} // namespace
} // namespace tovrik::settings
