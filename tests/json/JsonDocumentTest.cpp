#include "json/JsonDocument.h"

#include "json/DuktapeEngine.h"

#include <gtest/gtest.h>

#include <limits>

namespace tovrik::json {
namespace {

JsonDocument Loaded(TextView json) {
    JsonDocument document;
    document.Init();
    EXPECT_TRUE(document.Load(json)) << json;
    return document;
}

TEST(JsonDocumentTest, PathsMixDottedNamesQuotedNamesAndIndexes) {
    JsonDocument document = Loaded(R"({"a":[{"b":"x"},{"b":"y"}],"c d":{"e":5}})");
    EXPECT_EQ(document.Count("a"), 2);
    EXPECT_EQ(document.GetText("a[1].b"), "y");
    EXPECT_EQ(document.GetText("['a'][0].b"), "x");
    EXPECT_EQ(document.GetText("['c d'].e"), "5");
    EXPECT_EQ(document.GetText("da.a[0].b"), "x"); // already rooted
    EXPECT_EQ(document.GetText("a", true), R"([{"b":"x"},{"b":"y"}])");
    EXPECT_EQ(document.ToText(), R"({"a":[{"b":"x"},{"b":"y"}],"c d":{"e":5}})");
}

TEST(JsonDocumentTest, AnOwnerChosenNameRootsThePaths) {
    JsonDocument document("reply");
    document.Init();
    ASSERT_TRUE(document.Load(R"({"data":{"value":"v"}})"));
    EXPECT_EQ(document.GetText("data.value"), "v");
    EXPECT_EQ(document.GetText("reply.data.value"), "v");
}

TEST(JsonDocumentTest, MissingNodesReadAsEmptyZeroAndFalse) {
    JsonDocument document = Loaded(R"({"a":{"n":null},"list":[1,2]})");
    EXPECT_EQ(document.GetText("nothing"), "");
    EXPECT_EQ(document.GetText("nothing.deeper[3]"), "");
    EXPECT_EQ(document.Count("nothing"), 0);
    EXPECT_EQ(document.Count("a"), 0); // not an array
    EXPECT_EQ(document.TypeOf("nothing"), 0);
    EXPECT_EQ(document.TypeOf("nothing.deeper"), 0);
    EXPECT_EQ(document.TypeOf("a.n"), 0);
    EXPECT_FALSE(document.Exists("a.n"));
    EXPECT_FALSE(document.Exists("nothing"));
    EXPECT_TRUE(document.Exists("list"));
    EXPECT_EQ(document.GetNumber("nothing"), 0);
    EXPECT_EQ(document.GetItemText(5, "list"), "");
    EXPECT_EQ(document.GetText("list[(]"), ""); // not even a valid path
}

TEST(JsonDocumentTest, TypeOfTellsTheKindsApart) {
    JsonDocument document = Loaded(R"({"b":true,"n":2.5,"o":{},"a":[],"s":"t"})");
    EXPECT_EQ(document.TypeOf("b"), 1);
    EXPECT_EQ(document.TypeOf("n"), 2);
    EXPECT_EQ(document.TypeOf("o"), 4);
    EXPECT_EQ(document.TypeOf("a"), 5);
    EXPECT_EQ(document.TypeOf("s"), 6);
    EXPECT_EQ(document.TypeOf(), 4);
    ASSERT_TRUE(document.SetExpression("f", "function () {}"));
    EXPECT_EQ(document.TypeOf("f"), -1);
}

TEST(JsonDocumentTest, LoadRejectsEverythingThatIsNotJsonAndLeavesTheDocumentNull) {
    for (const TextView bad : {"", "   ", "{", R"({"a":1)", "{'a':1}", "{a:1}", "[1,]", "undefined", "null",
                               R"({"a":1} trailing)", "\x81\x82\xff"}) {
        JsonDocument document;
        document.Init();
        EXPECT_FALSE(document.Load(bad)) << bad;
        EXPECT_FALSE(document.Exists()) << bad;
        EXPECT_EQ(document.ToText(), "null") << bad;
    }
}

TEST(JsonDocumentTest, AReplyIsNeverRunAsScriptWhicheverFlagIsGiven) {
    const TextView attacks[] = {
        R"((function () { injected = 'yes'; return {"a": 1}; })())",
        R"({"a": 1}; injected = 'yes')",
        R"(injected = 'yes', {"a": 1})",
    };
    for (const TextView attack : attacks) {
        for (const bool direct : {false, true}) {
            JsonDocument document;
            document.Init();
            EXPECT_FALSE(document.Load(attack, direct)) << attack;
            EXPECT_EQ(document.ScriptObject()->Eval("typeof injected")->text, "undefined") << attack;
        }
    }
}

TEST(JsonDocumentTest, TheErrorRecordTellsWhyALoadFailed) {
    JsonDocument document;
    document.Init();
    ScriptError error;
    EXPECT_FALSE(document.Load(R"({"a": tru})", false, &error));
    EXPECT_NE(error.number, 0);
    EXPECT_EQ(error.source, "SyntaxError");
    EXPECT_FALSE(error.description.empty());

    EXPECT_TRUE(document.Load(R"({"a": true})", false, &error));
    EXPECT_EQ(error.number, 0);
    EXPECT_EQ(error.description, "");
}

TEST(JsonDocumentTest, WithoutAnEngineEveryOperationFailsQuietly) {
    JsonDocument document("da", [] { return std::shared_ptr<ScriptEngine>(); });
    document.Init();
    EXPECT_FALSE(document.Load(R"({"a":1})"));
    EXPECT_EQ(document.GetText("a"), "");
    EXPECT_EQ(document.Count("a"), 0);
    EXPECT_EQ(document.TypeOf("a"), 0);
    EXPECT_FALSE(document.SetValue("a", "x"));
    EXPECT_FALSE(document.ArrayAdd("x", "list"));
    std::vector<Text> values{"stale"};
    EXPECT_EQ(document.AllValues(values), 0);
    EXPECT_TRUE(values.empty());
    EXPECT_FALSE(document.GetNode("a").Exists());

    JsonDocument neverStarted;
    EXPECT_FALSE(neverStarted.Load(R"({"a":1})"));
}

TEST(JsonDocumentTest, TextWithBackslashQuoteAndLineBreakSurvivesSetValue) {
    JsonDocument document = Loaded("{}");
    const Text value = "C:\\截图\\a 'single' \"double\"\r\nnext line \\n";
    ASSERT_TRUE(document.SetValue("path", value));
    EXPECT_EQ(document.GetText("path"), value);
    // The backslash shows once in the document text, as the placeholder comes back as one.
    EXPECT_EQ(document.ToText(), "{\"path\":\"C:\\截图\\a 'single' \\\"double\\\"\\r\\nnext line \\n\"}");
    EXPECT_EQ(document.GetJson("path"), "\"C:\\截图\\a 'single' \\\"double\\\"\\r\\nnext line \\n\"");
    ASSERT_TRUE(document.SetValue("empty", ""));
    EXPECT_EQ(document.TypeOf("empty"), 6);
}

TEST(JsonDocumentTest, ThePlaceholderInInputReadsBackAsABackslash) {
    JsonDocument document = Loaded(R"({"p":"C:\u2400temp","q":"a\\b"})");
    EXPECT_EQ(document.GetText("p"), "C:\\temp");
    EXPECT_EQ(document.GetText("q"), "a\\b");
    std::vector<Text> values;
    ASSERT_EQ(document.AllValues(values), 2);
    EXPECT_NE(values[0], "C:\\temp"); // AllValues leaves the placeholder alone
}

TEST(JsonDocumentTest, ValuesAddedToArraysAreTextUnlessRaw) {
    JsonDocument document = Loaded("{}");
    const Text hostile = "x'); injected = ('y";
    ASSERT_TRUE(document.ArrayAdd(hostile, "list"));
    ASSERT_TRUE(document.ArrayAdd("C:\\dir\\file", "list"));
    ASSERT_TRUE(document.ArrayAdd("first", "list", false, true));
    ASSERT_TRUE(document.ArrayAdd("{\"n\": 7}", "list", true));
    EXPECT_EQ(document.ScriptObject()->Eval("typeof injected")->text, "undefined");
    EXPECT_EQ(document.Count("list"), 4);
    EXPECT_EQ(document.GetItemText(0, "list"), "first");
    EXPECT_EQ(document.GetItemText(1, "list"), hostile);
    EXPECT_EQ(document.GetItemText(2, "list"), "C:\\dir\\file");
    EXPECT_EQ(document.GetText("list[3].n"), "7");
    EXPECT_EQ(document.GetItemText(3, "list", true), R"({"n":7})");

    ASSERT_TRUE(document.SetItem(0, "'); injected = ('z", "list"));
    EXPECT_EQ(document.ScriptObject()->Eval("typeof injected")->text, "undefined");
    EXPECT_EQ(document.GetItemText(0, "list"), "'); injected = ('z");
    ASSERT_TRUE(document.SetItem(1, "12", "list", true));
    EXPECT_EQ(document.TypeOf("list[1]"), 2);

    ASSERT_TRUE(document.RemoveItem(0, "list"));
    EXPECT_EQ(document.Count("list"), 3);
    ASSERT_TRUE(document.Remove("list"));
    EXPECT_FALSE(document.Exists("list"));
}

TEST(JsonDocumentTest, AllValuesCollectsLeavesInOrder) {
    JsonDocument document = Loaded(R"({"a":1,"b":{"c":"d","e":[true,"f"]},"g":null})");
    std::vector<Text> values;
    EXPECT_EQ(document.AllValues(values, "", true), 4);
    EXPECT_EQ(values, (std::vector<Text>{"1", "d", "true", "f"}));
    EXPECT_EQ(document.AllValues(values), 1);
    EXPECT_EQ(values, std::vector<Text>{"1"});
    EXPECT_EQ(document.AllValues(values, "b.e"), 2);

    JsonDocument single = Loaded(R"({"only":""})");
    EXPECT_EQ(single.AllValues(values), 1);
    EXPECT_EQ(values, std::vector<Text>{""});
    JsonDocument none = Loaded("{}");
    EXPECT_EQ(none.AllValues(values), 0);
}

TEST(JsonDocumentTest, MemberNamesListsTheNamesOfAnObject) {
    JsonDocument document = Loaded(R"({"log_id":1,"结果":{"x":1,"y":[]},"list":[1]})");
    std::vector<Text> names;
    EXPECT_EQ(document.MemberNames(names), 3);
    EXPECT_EQ(names, (std::vector<Text>{"log_id", "结果", "list"}));
    EXPECT_EQ(document.MemberNames(names, "['结果']"), 2);
    EXPECT_EQ(document.MemberNames(names, "list"), 0);
    EXPECT_TRUE(names.empty());
}

TEST(JsonDocumentTest, SetValueWithJsonMergesIntoObjectsAndReplacesOtherNodes) {
    JsonDocument document = Loaded(R"({"o":{"s":"old","n":1,"keep":true,"inner":{"a":1},"list":[1]},"x":5})");
    ASSERT_TRUE(document.SetValue("o", R"({"s":"new","n":2,"inner":{"b":2},"list":[2],"added":null})", true));
    EXPECT_EQ(document.GetJson("o"),
              R"({"s":"new","n":2,"keep":true,"inner":{"a":1,"b":2},"list":[1,2],"added":null})");
    ASSERT_TRUE(document.SetValue("x", "[1,2]", true));
    EXPECT_EQ(document.Count("x"), 2);
    ASSERT_TRUE(document.SetValue("fresh", "", true));
    EXPECT_EQ(document.GetJson("fresh"), "{}");
    // JSON values are data as well.
    EXPECT_FALSE(document.SetValue("x", "(function () { injected = 1; return 1; })()", true));
    EXPECT_EQ(document.ScriptObject()->Eval("typeof injected")->text, "undefined");
    EXPECT_EQ(document.Count("x"), 2);
}

TEST(JsonDocumentTest, NumbersAreWrittenInPlainDecimal) {
    JsonDocument document = Loaded("{}");
    ASSERT_TRUE(document.SetNumber("n", 12.25));
    EXPECT_EQ(document.GetNumber("n"), 12.25);
    ASSERT_TRUE(document.SetNumber("big", 1e21));
    EXPECT_EQ(document.GetNumber("big"), 1e21);
    ASSERT_TRUE(document.SetNumber("small", -0.000001));
    EXPECT_EQ(document.GetNumber("small"), -0.000001);
    ASSERT_TRUE(document.SetNumber("nan", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(document.GetText("nan"), "NaN");
    ASSERT_TRUE(document.SetValue("text", "42"));
    EXPECT_EQ(document.GetNumber("text"), 42);
}

TEST(JsonDocumentTest, NodesAndItemsBecomeDocumentsOfTheirOwn) {
    JsonDocument document = Loaded(R"({"a":{"b":[10,{"c":"d"}]}})");
    ASSERT_TRUE(document.SetValue("a.path", "C:\\temp\\new"));
    JsonDocument node = document.GetNode("a");
    EXPECT_EQ(node.Name(), "da");
    EXPECT_NE(node.ScriptObject(), document.ScriptObject());
    EXPECT_EQ(node.GetText("b[1].c"), "d");
    EXPECT_EQ(node.GetText("path"), "C:\\temp\\new");
    JsonDocument item = document.GetItem(1, "a.b");
    EXPECT_EQ(item.GetText("c"), "d");
    EXPECT_FALSE(document.GetItem(7, "a.b").Exists());
    EXPECT_FALSE(document.GetNode("nothing").Exists());
}

TEST(JsonDocumentTest, CopiesShareTheEngineUntilOneLoadsAgain) {
    JsonDocument original = Loaded(R"({"a":1})");
    JsonDocument copy = original;
    EXPECT_EQ(copy.ScriptObject(), original.ScriptObject());
    ASSERT_TRUE(copy.SetNumber("a", 2));
    EXPECT_EQ(original.GetText("a"), "2");
    ASSERT_TRUE(copy.Load(R"({"a":3})"));
    EXPECT_NE(copy.ScriptObject(), original.ScriptObject());
    EXPECT_EQ(original.GetText("a"), "2");
    EXPECT_EQ(copy.GetText("a"), "3");
}

TEST(JsonDocumentTest, EveryLoadStartsFromAFreshEngine) {
    JsonDocument document = Loaded(R"({"a":1})");
    ASSERT_TRUE(document.ScriptObject()->AddCode("var leftover = 1;"));
    ASSERT_TRUE(document.Load(R"({"b":2})"));
    EXPECT_EQ(document.ScriptObject()->Eval("typeof leftover")->text, "undefined");
    EXPECT_FALSE(document.Exists("a"));
    ASSERT_TRUE(document.Clear());
    EXPECT_EQ(document.ToText(), "{}");
}

TEST(JsonDocumentTest, ChineseTextAndEscapesComeOutAsProgramText) {
    JsonDocument document = Loaded("{\"words\":\"识别结果\",\"escaped\":\"\\u4e2d\\u6587\",\"结果\":\"值\"}");
    EXPECT_EQ(document.GetText("words"), "识别结果");
    EXPECT_EQ(document.GetText("escaped"), "中文");
    EXPECT_EQ(document.GetText("['结果']"), "值");
    EXPECT_EQ(document.GetText("words", true), "\"识别结果\"");
}

// A reply's text whose start reads as a number with a huge exponent (a random token may) is read
// like any other text, not lost as a failed read.
TEST(JsonDocumentTest, TextsThatStartLikeHugeNumbersReadBack) {
    const Text token = "24.1e98765432abcdef.2592000.1765250000000.0f";
    JsonDocument document = Loaded(R"({"access_token":")" + token + R"(","n":"1e99999999"})");
    EXPECT_EQ(document.GetText("['access_token']"), token);
    EXPECT_EQ(document.GetText("n"), "1e99999999");
}

} // namespace
} // namespace tovrik::json
