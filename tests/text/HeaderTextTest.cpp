#include "text/HeaderText.h"
#include "text/TextSearch.h"

#include <gtest/gtest.h>

namespace tovrik::text {

TEST(TextBetween, FindsTheTextBetweenMarkers) {
    EXPECT_EQ(TextBetween("a[x]b[y]", "[", "]"), "x");
    EXPECT_EQ(TextBetween("a[x]b[y]", "[", "]", 4), "y");
    EXPECT_EQ(TextBetween("a[x]b[y]", "[", "]", 0), "x");
    EXPECT_EQ(TextBetween("a[x", "[", "]"), "");
    EXPECT_EQ(TextBetween("ax]", "[", "]"), "");
    EXPECT_EQ(TextBetween("a[]", "[", "]"), "");
    EXPECT_EQ(TextBetween("a[x]", "[", "]", 99), "");
    EXPECT_EQ(TextBetween("", "[", "]"), "");
}

TEST(TextBetween, QuotePlaceholderAndCaseRule) {
    const Text json = "{\"access_token\":\"24.abc\",\"expires_in\":2592000}";
    EXPECT_EQ(TextBetween(json, "access_token#引号:#引号", "#引号"), "24.abc");
    EXPECT_EQ(TextBetween(json, "#引号expires_in#引号:", "}"), "2592000");
    EXPECT_EQ(TextBetween("Name: X\r\n", "NAME: ", "\r\n"), "");
    EXPECT_EQ(TextBetween("Name: X\r\n", "NAME: ", "\r\n", 1, true), "X");
    EXPECT_EQ(TextBetween("<B>中文</b>", "<b>", "</B>", 1, true), "中文");
}

TEST(TextBetween, MatchesOnlyWholeGbkCharacters) {
    // 0x81 0x41 is one character whose trail byte looks like 'A'.
    EXPECT_EQ(TextBetween("\x81"
                          "A[x]A[y]",
                          "A[", "]"),
              "y");
    EXPECT_EQ(TextBetween("\x81"
                          "a[x]A[y]",
                          "a[", "]", 1, true),
              "y");
    EXPECT_EQ(TextBefore("\x81"
                         "Ab",
                         "A"),
              "");
    EXPECT_EQ(TextBefore("\x81"
                         "AbAc",
                         "A"),
              "\x81"
              "Ab");
}

TEST(TextBefore, TakesTheTextBeforeTheMarker) {
    EXPECT_EQ(TextBefore("Content-Type: text/html", ": "), "Content-Type");
    EXPECT_EQ(TextBefore("no marker", ": "), "");
    EXPECT_EQ(TextBefore("a:b:c", ":", 3), "a:b");
    EXPECT_EQ(TextBefore("aXbxc", "x", 1, true), "a");
}

TEST(HeaderParts, NamesAndValuesAreTrimmed) {
    EXPECT_EQ(HeaderName("  Content-Type :  text/html; charset=utf-8 "), "Content-Type");
    EXPECT_EQ(HeaderValue("  Content-Type :  text/html; charset=utf-8 "), "text/html; charset=utf-8");
    EXPECT_EQ(HeaderValue("Host: 127.0.0.1:8080"), "127.0.0.1:8080");
    EXPECT_EQ(HeaderName("no colon"), "");
    EXPECT_EQ(HeaderValue("no colon"), "");
    EXPECT_EQ(HeaderValue("\xA1\xA1Key:\xA1\xA1v\t"), "v\t");
    EXPECT_EQ(CookieName(" BAIDUID = x=y"), "BAIDUID");
    EXPECT_EQ(CookieName(" flag "), "flag");
}

TEST(NormalizeHeaderNames, CapitalisesEveryWordOfEveryName) {
    EXPECT_EQ(CapitalizeWord("content"), "Content");
    EXPECT_EQ(CapitalizeWord("éa"), "éa");
    EXPECT_EQ(CapitalizeWord(""), "");
    EXPECT_EQ(NormalizeHeaderNames("content-type:text/plain"), "Content-Type:text/plain");
    EXPECT_EQ(NormalizeHeaderNames("user-agent: x\r\nx-rEQUESTED-with: y"), "User-Agent: x\r\nX-REQUESTED-With: y");
    EXPECT_EQ(NormalizeHeaderNames("accept: a\r\nno colon here\r\n\r\nreferer: b:c"), "Accept: a\r\nReferer: b:c");
    EXPECT_EQ(NormalizeHeaderNames("a--b:1"), "A--B:1");
    EXPECT_EQ(NormalizeHeaderNames(""), "");
    EXPECT_EQ(NormalizeHeaderNames("\r\n"), "");
}

TEST(MergeCookies, ReplyCookiesComeFirstAndReplaceOldOnes) {
    Text oldList = "a=1; b=2";
    Text newList = "b=3";
    EXPECT_EQ(MergeCookies(oldList, newList), "b=3; a=1");
    EXPECT_EQ(oldList, "b=3; a=1");
    EXPECT_EQ(newList, "b=3");
}

TEST(MergeCookies, DeletedCookiesDisappearEntirely) {
    Text oldList = "a=1; b=2";
    Text newList = "b=deleted; c=4";
    EXPECT_EQ(MergeCookies(oldList, newList), "c=4; a=1");
    Text onlyDeleted = "x=deleted";
    Text none;
    EXPECT_EQ(MergeCookies(none, onlyDeleted), "");
}

TEST(MergeCookies, ListsAreTidiedAndWrittenBack) {
    Text oldList = "  a=1; b=2;  ";
    Text newList = "\xA1\xA1 c=3;";
    EXPECT_EQ(MergeCookies(oldList, newList), "c=3; a=1; b=2");
    EXPECT_EQ(newList, "c=3; ");
    EXPECT_EQ(oldList, "c=3; a=1; b=2");

    Text emptyOld;
    Text emptyNew;
    EXPECT_EQ(MergeCookies(emptyOld, emptyNew), "");
    EXPECT_EQ(emptyOld, "");
}

TEST(MergeCookies, DuplicatesAreRemovedFromTheResultOnly) {
    Text oldList = "a=1; a=1; b=2";
    Text newList = "c=3; c=3";
    EXPECT_EQ(MergeCookies(oldList, newList), "c=3; a=1; b=2");
    EXPECT_EQ(oldList, "c=3; c=3; a=1; a=1; b=2");
}

TEST(RemoveDuplicates, KeepsFirstOccurrencesInOrder) {
    EXPECT_EQ(RemoveDuplicates("b; a; b; c; a", "; "), "b; a; c");
    EXPECT_EQ(RemoveDuplicates("A,a,A", ","), "A,a");
    EXPECT_EQ(RemoveDuplicates("", "; "), "");
    EXPECT_EQ(RemoveDuplicates("x,,x,", ","), "x,");
    EXPECT_EQ(RemoveDuplicates("x,x", ""), "x,x");
}

TEST(RemoveDuplicates, ManyItemsStayLinear) {
    Text list;
    for (int i = 0; i < 200000; ++i) {
        list += 'k';
        list += std::to_string(i % 1000);
        list += "=v; ";
    }
    list.resize(list.size() - 2);
    const Text unique = RemoveDuplicates(list, "; ");
    EXPECT_EQ(SplitText(unique, "; ").size(), 1000u);
}

TEST(SplitText, PiecesBetweenSeparators) {
    EXPECT_EQ(SplitText("a&b&", "&"), (std::vector<TextView>{"a", "b", ""}));
    EXPECT_EQ(SplitText("", "&"), (std::vector<TextView>{""}));
    EXPECT_EQ(SplitText("a&b", ""), (std::vector<TextView>{"a&b"}));
    EXPECT_EQ(SplitText("\x81|a|b", "|"), (std::vector<TextView>{"\x81|a", "b"}));
    EXPECT_EQ(FindText("abc", "", 3), 3u);
    EXPECT_EQ(FindText("abc", "c", 4), TextView::npos);
}

} // namespace tovrik::text
