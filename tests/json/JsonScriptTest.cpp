// The prelude's own JSON implementation, run in engines whose built-in JSON was deleted first.
#include "json/JsonScript.h"
#include "json/DuktapeEngine.h"
#include "json/JsonDocument.h"
#include "json/ScriptPrelude.h"

#include <gtest/gtest.h>

namespace tovrik::json {
namespace {

std::shared_ptr<DuktapeEngine> EngineWithoutJson() {
    auto engine = std::make_shared<DuktapeEngine>();
    EXPECT_TRUE(engine->AddCode("delete JSON; delete Date.prototype.toJSON;"));
    return engine;
}

class JsonScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_engine = EngineWithoutJson();
        ASSERT_EQ(m_engine->Eval("typeof JSON")->text, "undefined");
        ASSERT_TRUE(m_engine->AddCode(ScriptPrelude()));
        m_native = std::make_shared<DuktapeEngine>();
    }

    Text Eval(TextView script) {
        const auto value = m_engine->Eval(script);
        return value ? value->text : Text("<error: " + m_engine->LastError().description + ">");
    }

    std::shared_ptr<DuktapeEngine> m_engine;
    std::shared_ptr<DuktapeEngine> m_native;
};

TEST_F(JsonScriptTest, DefinesJsonOnlyWhereTheEngineLacksIt) {
    EXPECT_EQ(Eval("typeof JSON.stringify + ' ' + typeof JSON.parse"), "function function");
    // An engine with its own JSON keeps it.
    ASSERT_TRUE(m_native->AddCode("var builtIn = JSON.parse;"));
    ASSERT_TRUE(m_native->AddCode(JsonScript()));
    EXPECT_EQ(m_native->Eval("JSON.parse === builtIn")->text, "true");
    // Helpers on Object.prototype stay out of for-in loops.
    EXPECT_EQ(Eval("var n = 0; for (var k in {a: 1}) { n++; } n"), "1");
    EXPECT_EQ(Eval("({a: [1]}).toJSONString()"), R"({"a":[1]})");
    EXPECT_EQ(Eval("'{\"b\":2}'.parseJSON().b"), "2");
}

TEST_F(JsonScriptTest, StringifyMatchesTheBuiltInJsonOnOrdinaryValues) {
    const TextView values[] = {
        "null",
        "true",
        "0",
        "-0",
        "1.5e300",
        "-12.25",
        "'text'",
        "''",
        "[]",
        "{}",
        "[1, 'a', null, false]",
        "({a: 1, b: [true, {c: 'd'}], e: {}})",
        "({a: undefined, b: function () {}, c: 1})",
        "[undefined, function () {}]",
        "NaN",
        "[Infinity, -Infinity]",
        "new Number(3)",
        "new String('s')",
        "new Boolean(false)",
        "'quote \" backslash \\\\ slash / tab \\t newline \\n cr \\r bs \\b ff \\f nul \\u0000 \\u001f'",
        "({toJSON: function (key) { return 'key:' + key; }})",
        "[new Date(0)]",
        "'中文'",
    };
    for (const TextView value : values) {
        const Text script = "JSON.stringify(" + Text(value) + ")";
        EXPECT_EQ(Eval(script), m_native->Eval(script)->text) << value;
        const Text indented = "JSON.stringify(" + Text(value) + ", null, 2)";
        EXPECT_EQ(Eval(indented), m_native->Eval(indented)->text) << value;
    }
    EXPECT_EQ(Eval("typeof JSON.stringify(undefined)"), "undefined");
    EXPECT_EQ(Eval("JSON.stringify(new Date(Date.UTC(2020, 11, 7, 6, 7, 14, 5)))"), R"("2020-12-07T06:07:14.005Z")");
}

TEST_F(JsonScriptTest, StringifyEscapesInvisibleAndLineSeparatorCharacters) {
    EXPECT_EQ(Eval("JSON.stringify('\\u007f\\u00ad\\u2028\\u2029\\ufeff\\uffff')"),
              R"("\u007f\u00ad\u2028\u2029\ufeff\uffff")");
    EXPECT_EQ(Eval("JSON.stringify({'\\n': 1})"), R"({"\n":1})");
}

TEST_F(JsonScriptTest, StringifyHonoursReplacersSpacesAndCycles) {
    EXPECT_EQ(Eval("JSON.stringify({a: 1, b: 2, c: {a: 3, d: 4}}, ['a', 'c', 'a'])"), R"({"a":1,"c":{"a":3}})");
    EXPECT_EQ(Eval("JSON.stringify({a: 1, b: 'x'}, function (k, v) { return typeof v === 'number' ? v * 10 : v; })"),
              R"({"a":10,"b":"x"})");
    EXPECT_EQ(Eval("JSON.stringify([1, [2]], null, '--')"), "[\n--1,\n--[\n----2\n--]\n]");
    EXPECT_EQ(Eval("JSON.stringify({a: 1}, null, 20)"), "{\n          \"a\": 1\n}");
    EXPECT_EQ(Eval("var o = {}; o.self = o; try { JSON.stringify(o); 'no error' } catch (e) { e.name }"), "TypeError");
}

TEST_F(JsonScriptTest, ParseAcceptsExactlyJson) {
    const TextView good[] = {
        R"( {"a" : [1, -2.5e-3, 0, true, false, null, "s\"\\\/\b\f\n\r\t\u4e2d"], "b": {}} )",
        "[]",
        "{}",
        "0",
        "-0.5",
        "\"\"",
        "[[[]]]",
        R"({"a":1,"a":2})",
        "1E+2",
    };
    for (const TextView text : good) {
        ASSERT_TRUE(m_engine->SetGlobalText("text", text));
        ASSERT_TRUE(m_native->SetGlobalText("text", text));
        const Text script = "JSON.stringify(JSON.parse(text))";
        EXPECT_EQ(Eval(script), m_native->Eval(script)->text) << text;
    }
    const TextView bad[] = {
        "",      " ",     "[1,]",      "{\"a\":1,}", "{'a':1}",     "{a:1}",         "[01]",    "[1.]", "[.5]",
        "[+1]",  "[1e]",  "\"a",       "\"\\x\"",    "\"\\u12g4\"", "\"tab\there\"", "[1] [2]", "nul",  "True",
        "[NaN]", "[1 2]", "{\"a\" 1}", "{\"a\":}",   "(1)",         "[\"a\"\"b\"]",  "{,}",     "\"\\", "[",
    };
    for (const TextView text : bad) {
        ASSERT_TRUE(m_engine->SetGlobalText("text", text));
        EXPECT_EQ(Eval("try { JSON.parse(text); 'accepted' } catch (e) { e.name }"), "SyntaxError") << text;
    }
}

TEST_F(JsonScriptTest, ParseNeverRunsTheText) {
    ASSERT_TRUE(m_engine->SetGlobalText("text", R"({"a": (function () { hacked = 1; return 1; })()})"));
    EXPECT_EQ(Eval("try { JSON.parse(text); 'accepted' } catch (e) { e.name }"), "SyntaxError");
    EXPECT_EQ(Eval("typeof hacked"), "undefined");
    // A member called __proto__ is a member, not the object's prototype.
    EXPECT_EQ(
        Eval(
            R"(var p = JSON.parse('{"__proto__": {"polluted": 1}}'); [typeof p.polluted, typeof ({}).polluted, Object.prototype.hasOwnProperty.call(p, '__proto__')].join())"),
        "undefined,undefined,true");
}

TEST_F(JsonScriptTest, ParseAppliesTheReviverDepthFirst) {
    EXPECT_EQ(Eval("JSON.stringify(JSON.parse('{\"a\":1,\"b\":[2,3],\"c\":4}', function (k, v) {"
                   " return k === 'c' ? undefined : typeof v === 'number' ? v + 1 : v; }))"),
              R"({"a":2,"b":[3,4]})");
    EXPECT_EQ(Eval("var order = []; JSON.parse('{\"a\":{\"b\":1}}', function (k, v) { order.push(k); return v; });"
                   " order.join('|')"),
              "b|a|");
}

TEST_F(JsonScriptTest, DeepNestingParsesWithoutRecursionAndFailsCleanlyOnOutput) {
    const std::size_t depth = 10000;
    ASSERT_TRUE(m_engine->SetGlobalText("text", std::string(depth, '[') + std::string(depth, ']')));
    EXPECT_EQ(Eval("var deep = JSON.parse(text); var n = 0; while (deep.length) { deep = deep[0]; n++; } n"), "9999");
    EXPECT_EQ(Eval("try { JSON.stringify(JSON.parse(text)); 'done' } catch (e) { e.name }"), "RangeError");
    ASSERT_TRUE(m_engine->SetGlobalText("text", std::string(depth, '[')));
    EXPECT_EQ(Eval("try { JSON.parse(text); 'accepted' } catch (e) { e.name }"), "SyntaxError");
}

TEST(JsonScriptDocumentTest, DocumentsWorkTheSameOnAnEngineWithoutJson) {
    JsonDocument document("da", [] { return EngineWithoutJson(); });
    document.Init();
    ASSERT_TRUE(document.Load(R"({"words_result":[{"words":"第一行"},{"words":"C:\\dir"}],"n":2})"));
    EXPECT_EQ(document.Count("words_result"), 2);
    EXPECT_EQ(document.GetText("words_result[0].words"), "第一行");
    EXPECT_EQ(document.GetText("words_result[1].words"), "C:\\dir");
    ASSERT_TRUE(document.SetValue("p", "a\\b"));
    EXPECT_EQ(document.GetText("p"), "a\\b");
    EXPECT_EQ(document.GetNode("words_result[1]").GetText("words"), "C:\\dir");
    EXPECT_FALSE(document.Load("{\"a\": 1} + injected()"));
}

} // namespace
} // namespace tovrik::json
