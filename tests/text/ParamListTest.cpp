#include "text/ParamList.h"

#include <gtest/gtest.h>

namespace tovrik::text {

TEST(ParamList, FormTextJoinsPairsInOrder) {
    ParamList list;
    EXPECT_EQ(list.FormText(), "");
    list.AddPair("grant_type", "client_credentials");
    list.AddPair("client_id", "abc");
    EXPECT_EQ(list.FormText(), "grant_type=client_credentials&client_id=abc");
    EXPECT_EQ(list.FormText(true), "grant_type=client_credentials&client_id=abc");
}

TEST(ParamList, EncodedFormEscapesGbkBytesOfNamesAndValues) {
    ParamList list;
    list.AddPair("q", "a b/c");
    list.AddPair("名", "中=&");
    EXPECT_EQ(list.FormText(true), "q=a+b%2Fc&%C3%FB=%D6%D0%3D%26");
    EXPECT_EQ(list.FormText(), "q=a b/c&名=中=&");
}

TEST(ParamList, HeaderTextHasNoTrailingLineBreak) {
    ParamList list;
    EXPECT_EQ(list.HeaderText(), "");
    list.AddPair("Content-Type", "application/x-www-form-urlencoded");
    EXPECT_EQ(list.HeaderText(), "Content-Type: application/x-www-form-urlencoded");
    list.AddPair("X Name", "a b");
    EXPECT_EQ(list.HeaderText(true), "Content-Type: application%2Fx-www-form-urlencoded\r\nX Name: a+b");
}

TEST(ParamList, LookupsUseTheFirstExactName) {
    ParamList list;
    list.AddPair("k", "1");
    list.AddPair("k", "2");
    list.AddPair("K", "3");
    EXPECT_EQ(list.GetValue("k"), "1");
    EXPECT_EQ(list.GetValue("K"), "3");
    EXPECT_EQ(list.GetValue("missing"), "");
    list.SetPair("k", "one");
    EXPECT_EQ(list.PairValues(), (std::vector<Text>{"one", "2", "3"}));
    list.SetPair("new", "4");
    EXPECT_EQ(list.PairNames(), (std::vector<Text>{"k", "k", "K", "new"}));
}

TEST(ParamList, RemovePairRemovesOnlyTheFirstMatch) {
    ParamList list;
    list.AddPair("a", "1");
    list.AddPair("b", "2");
    list.AddPair("a", "3");
    EXPECT_EQ(list.RemovePair("a"), 1);
    EXPECT_EQ(list.FormText(), "b=2&a=3");
    EXPECT_EQ(list.RemovePair("zzz"), 0);
    list.ClearPairs();
    EXPECT_EQ(list.FormText(), "");
    EXPECT_TRUE(list.PairNames().empty());
    EXPECT_TRUE(list.PairValues().empty());
}

TEST(ParamList, Utf8PairsStoreUtf8Bytes) {
    ParamList list;
    list.AddPair("名", "中", true);
    EXPECT_EQ(list.PairNames()[0], "\xE5\x90\x8D");
    EXPECT_EQ(list.GetValue("\xE5\x90\x8D"), "\xE4\xB8\xAD");
}

TEST(ParamList, ParseQueryAppendsPairs) {
    ParamList list;
    list.AddPair("first", "0");
    list.ParseQuery("a=1&b=2=3&flag&&c=");
    EXPECT_EQ(list.PairNames(), (std::vector<Text>{"first", "a", "b", "", "", "c"}));
    EXPECT_EQ(list.PairValues(), (std::vector<Text>{"0", "1", "2=3", "", "", ""}));
    ParamList utf8;
    utf8.ParseQuery("q=中", true);
    EXPECT_EQ(utf8.GetValue("q"), "\xE4\xB8\xAD");
    ParamList empty;
    empty.ParseQuery("");
    EXPECT_TRUE(empty.PairNames().empty());
}

TEST(ParamList, JsonTextEscapesValuesOnly) {
    ParamList list;
    EXPECT_EQ(list.JsonText(), "{}");
    list.AddPair("a", "b");
    EXPECT_EQ(list.JsonText(), "{\"a\":\"b\"}");
    list.AddPair("say \"hi\"", "he said \"hi\"");
    EXPECT_EQ(list.JsonText(), "{\"a\":\"b\",\"say \"hi\"\":\"he said \\\"hi\\\"\"}");
}

TEST(ParamList, JsonEscapeKeepsTheStringValid) {
    EXPECT_EQ(ParamList::JsonEscape("a\"b"), "a\\\"b");
    EXPECT_EQ(ParamList::JsonEscape("C:\\dir"), "C:\\\\dir");
    EXPECT_EQ(ParamList::JsonEscape("l1\r\nl2\t\x01"), "l1\\r\\nl2\\t\\u0001");
    // 0x95 0x5C is one GBK character whose trail byte is a backslash.
    EXPECT_EQ(ParamList::JsonEscape("\x95\\"), "\x95\\");
    EXPECT_EQ(ParamList::JsonEscape("中文"), "中文");
    EXPECT_EQ(ParamList::JsonEscape(""), "");
}

TEST(ParamList, TrimSeparatorDropsOneAtEachEnd) {
    EXPECT_EQ(ParamList::TrimSeparator(",a,b,", ","), "a,b");
    EXPECT_EQ(ParamList::TrimSeparator(",,a,,", ","), ",a,");
    EXPECT_EQ(ParamList::TrimSeparator(",", ","), "");
    EXPECT_EQ(ParamList::TrimSeparator("&&", "&&"), "");
    EXPECT_EQ(ParamList::TrimSeparator("abc", ""), "abc");
}

} // namespace tovrik::text
