// Replies as the services load and query them, on arbitrary bytes: no crash. On the side, the
// engine's built-in JSON.parse and the prelude's own (in an engine without JSON) must agree on
// what is JSON and on the value they make of it.
#include "json/DuktapeEngine.h"
#include "json/JsonDocument.h"
#include "json/ScriptPrelude.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using tovrik::Text;
using tovrik::TextView;
using tovrik::json::DuktapeEngine;
using tovrik::json::JsonDocument;

constexpr TextView kPaths[] = {
    "", "words_result", "words_result[0].words", "['access_token']", "translateResult[0][0].tgt", "[1][0]", "['']",
};

// A canonical picture of a value, built the same way in both engines.
constexpr TextView kDigest = R"js(
function digest(v) {
    var kind = Object.prototype.toString.call(v), text, name, i;
    if (v === null) {
        return 'null';
    }
    if (kind == '[object Array]') {
        text = '[';
        for (i = 0; i < v.length; i++) {
            text += digest(v[i]) + ',';
        }
        return text + ']';
    }
    if (kind == '[object Object]') {
        text = '{';
        for (name in v) {
            if (Object.prototype.hasOwnProperty.call(v, name)) {
                text += escape(name) + ':' + digest(v[name]) + ',';
            }
        }
        return text + '}';
    }
    return typeof v + ':' + (typeof v == 'string' ? escape(v) : String(v));
}
function parsed() {
    try {
        return digest(JSON.parse(text));
    } catch (e) {
        // Refused, whatever the error's kind: the engine's number parser throws a RangeError for
        // an exponent over ten million ("000e99999999"), before a syntax check would have.
        return 'refused';
    }
}
)js";

struct Engines {
    DuktapeEngine builtIn;
    DuktapeEngine own;

    Engines() {
        if (!own.AddCode("delete JSON;") || !own.AddCode(tovrik::json::ScriptPrelude()) || !builtIn.AddCode(kDigest) ||
            !own.AddCode(kDigest)) {
            __builtin_trap();
        }
    }
};

// The two implementations refuse different depths (the built-in one stops at 1000 levels).
bool ShallowEnough(std::string_view text) {
    int open = 0;
    for (const char c : text) {
        open += c == '[' || c == '{' ? 1 : 0;
    }
    return open < 500;
}

void LoadAndQuery(TextView reply) {
    JsonDocument document;
    document.Init();
    const bool loaded = document.Load(reply);
    for (const TextView path : kPaths) {
        (void)document.GetText(path);
        (void)document.GetText(path, true);
        (void)document.Count(path);
        (void)document.TypeOf(path);
    }
    std::vector<Text> values;
    (void)document.AllValues(values, "", true);
    (void)document.MemberNames(values);
    (void)document.ToText();
    if (loaded) {
        (void)document.GetNode("words_result").GetText("[0].words");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Engines engines;
    const TextView reply(reinterpret_cast<const char*>(data), size);
    LoadAndQuery(reply);
    if (!ShallowEnough(reply)) {
        return 0;
    }
    if (!engines.builtIn.SetGlobalText("text", reply) || !engines.own.SetGlobalText("text", reply)) {
        __builtin_trap();
    }
    const auto expected = engines.builtIn.Eval("parsed()");
    const auto actual = engines.own.Eval("parsed()");
    if (!expected || !actual || expected->text != actual->text) {
        __builtin_trap();
    }
    return 0;
}
