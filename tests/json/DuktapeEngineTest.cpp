#include "json/DuktapeEngine.h"

#include <gtest/gtest.h>

#include <limits>

namespace tovrik::json {
namespace {

using Type = ScriptValue::Type;

TEST(DuktapeEngineTest, GlobalDefinitionsPersistBetweenCalls) {
    DuktapeEngine engine;
    ASSERT_TRUE(engine.AddCode("function twice(x) { return 2 * x; } var base = 20;"));
    ASSERT_TRUE(engine.Eval("var later = 1").has_value());
    const auto value = engine.Eval("twice(base) + later");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, Type::Number);
    EXPECT_EQ(value->number, 41);
    EXPECT_EQ(value->text, "41");
    EXPECT_TRUE(value->truthy);
}

TEST(DuktapeEngineTest, ValuesAreConvertedTheWaysCallersReadThem) {
    DuktapeEngine engine;
    const auto undefinedValue = engine.Eval("var x = 1");
    ASSERT_TRUE(undefinedValue.has_value());
    EXPECT_EQ(undefinedValue->type, Type::Undefined);
    EXPECT_EQ(undefinedValue->text, "");
    EXPECT_FALSE(undefinedValue->truthy);

    EXPECT_EQ(engine.Eval("null")->type, Type::Null);
    EXPECT_EQ(engine.Eval("null")->text, "");
    EXPECT_EQ(engine.Eval("1 == 1")->text, "true");
    EXPECT_EQ(engine.Eval("1 == 1")->number, 1);
    EXPECT_EQ(engine.Eval("'12.5'")->number, 12.5);
    EXPECT_EQ(engine.Eval("'abc'")->number, 0);
    EXPECT_FALSE(engine.Eval("''")->truthy);
    EXPECT_TRUE(engine.Eval("'0'")->truthy);
    EXPECT_EQ(engine.Eval("[1, 'b']")->type, Type::Object);
    EXPECT_EQ(engine.Eval("[1, 'b']")->text, "1,b");
    EXPECT_TRUE(engine.Eval("({})")->truthy);
    // The value of a statement list is the value of its last statement.
    EXPECT_EQ(engine.Eval("if (true) { 'yes' } else { 'no' }")->text, "yes");
}

TEST(DuktapeEngineTest, ProgramTextCrossesTheBoundaryInCodePage936) {
    DuktapeEngine engine;
    ASSERT_TRUE(engine.AddCode("var word = '识别';"));
    EXPECT_EQ(engine.Eval("word.length")->number, 2);
    EXPECT_EQ(engine.Eval("word + '结果'")->text, "识别结果");
    EXPECT_EQ(engine.Eval("'\\u4e2d\\u6587'")->text, "中文");
}

TEST(DuktapeEngineTest, ScriptErrorsFillTheErrorRecordAndAreClearedByTheNextCall) {
    DuktapeEngine engine;
    EXPECT_FALSE(engine.Eval("1 +\n  (2 + ;").has_value());
    const ScriptError syntax = engine.LastError();
    EXPECT_NE(syntax.number, 0);
    EXPECT_EQ(syntax.source, "SyntaxError");
    EXPECT_FALSE(syntax.description.empty());
    EXPECT_EQ(syntax.line, 2);
    EXPECT_EQ(syntax.text, "  (2 + ;");

    EXPECT_FALSE(engine.Eval("missing.member").has_value());
    EXPECT_EQ(engine.LastError().source, "ReferenceError");

    EXPECT_FALSE(engine.AddCode("throw 'plain text'"));
    EXPECT_NE(engine.LastError().number, 0);
    EXPECT_EQ(engine.LastError().description, "plain text");

    EXPECT_TRUE(engine.Eval("1").has_value());
    EXPECT_EQ(engine.LastError().number, 0);
    EXPECT_EQ(engine.LastError().description, "");
}

TEST(DuktapeEngineTest, GlobalTextIsDataNeverCode) {
    DuktapeEngine engine;
    ASSERT_TRUE(engine.SetGlobalText("reply", "'); hacked = true; ('"));
    EXPECT_EQ(engine.Eval("reply")->text, "'); hacked = true; ('");
    EXPECT_EQ(engine.Eval("typeof hacked")->text, "undefined");
    ASSERT_TRUE(engine.SetGlobalText("reply", "中文"));
    EXPECT_EQ(engine.Eval("reply.length")->number, 2);
}

TEST(DuktapeEngineTest, RunawayScriptsFailCleanlyAndLeaveTheEngineUsable) {
    DuktapeEngine engine(16u * 1024 * 1024);
    // Memory: the budget ends the script, not the machine.
    EXPECT_FALSE(engine.Eval("var a = []; for (;;) { a.push('item ' + a.length); }").has_value());
    EXPECT_NE(engine.LastError().number, 0);
    ASSERT_TRUE(engine.Eval("a = null").has_value());
    // Call depth: a script error, not a stack overflow.
    EXPECT_FALSE(engine.Eval("function down(n) { return down(n + 1) + 1; } down(0)").has_value());
    EXPECT_EQ(engine.LastError().source, "RangeError");
    // Native recursion through the parser.
    EXPECT_FALSE(engine.Eval(std::string(100000, '(') + "1" + std::string(100000, ')')).has_value());
    EXPECT_EQ(engine.Eval("6 * 7")->number, 42);
}

TEST(DuktapeEngineTest, IndexedScriptsReusedFromTheCacheGiveEachIndexItsOwnElement) {
    DuktapeEngine engine;
    ASSERT_TRUE(engine.AddCode("var list = ['a', 'b', 'c']; var grid = [[1, 2], [3, 4]];"));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(engine.Eval("list[0]")->text, "a");
        EXPECT_EQ(engine.Eval("list[2]")->text, "c");
        EXPECT_EQ(engine.Eval("list[3]")->type, Type::Undefined);
        EXPECT_EQ(engine.Eval("grid[1][0] + grid[0][1]")->number, 5);
        EXPECT_EQ(engine.Eval("list['1']")->text, "b");
        EXPECT_EQ(engine.Eval("'[2]' + list[1]")->text, "[2]b");
        EXPECT_EQ(engine.Eval("[10][0] + [07][0]")->number, 17);
    }
    ASSERT_TRUE(engine.Eval("list[1] = 'B'").has_value());
    EXPECT_EQ(engine.Eval("list.join('')")->text, "aBc");
    // The variables that carry the indexes stay out of enumerations of the global object.
    EXPECT_EQ(
        engine.Eval("var names = ''; for (var n in this) { names += n + ','; } names.indexOf('__tovrik')")->number, -1);
}

TEST(DuktapeEngineTest, LongGlobalCodeLoadedFromTheBytecodeCacheDefinesTheSameFunctions) {
    std::string code = "function fromCache(x) { return x + 1; }\n";
    while (code.size() < 8192) {
        code += "// filler line to make the code long enough for the cache\n";
    }
    for (int engineNumber = 0; engineNumber < 3; ++engineNumber) {
        DuktapeEngine engine;
        ASSERT_TRUE(engine.AddCode(code));
        EXPECT_EQ(engine.Eval("fromCache(41)")->number, 42);
    }
}

// Duktape throws a RangeError when asked for the number of a string whose exponent is above ten
// million, before it sees that the rest is not a number: a token such as the stand-in's random
// "24.<hex>..." can start that way. Such strings still read as text, and as ECMAScript's number.
TEST(DuktapeEngineTest, StringsWithAnExponentTheEngineRefusesToConvertStillRead) {
    DuktapeEngine engine;
    const Text token = "24.3e123456789a0f.2592000.1765250000000.9c";
    const auto value = engine.Eval("'" + token + "'");
    ASSERT_TRUE(value.has_value()) << engine.LastError().description;
    EXPECT_EQ(value->type, Type::String);
    EXPECT_EQ(value->text, token);
    EXPECT_EQ(value->number, 0);
    EXPECT_TRUE(value->truthy);

    EXPECT_EQ(engine.Eval("'1e99999999'")->number, std::numeric_limits<double>::infinity());
    EXPECT_EQ(engine.Eval("' -2.5E+123456789 '")->number, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(engine.Eval("'7e-99999999'")->number, 0);
    EXPECT_EQ(engine.Eval("'0e99999999'")->number, 0);
    // Scripts themselves still see the engine's RangeError, as a script error.
    EXPECT_FALSE(engine.Eval("Number('1e99999999')").has_value());
    EXPECT_EQ(engine.LastError().source, "RangeError");
    EXPECT_EQ(engine.Eval("'12.5'")->number, 12.5);
}

} // namespace
} // namespace tovrik::json
