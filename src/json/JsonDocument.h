#pragma once

#include "text/Types.h"
#include "json/ScriptEngine.h"

#include <memory>
#include <vector>

namespace tovrik::json {

// A JSON document held in a script engine and queried with script member paths: dotted names,
// bracketed quoted names and bracketed indexes relative to the document ("a[1].b",
// "['words_result'][0].words"). An empty path is the document itself. Paths, indexes and the
// script values of SetExpression and the raw flags are program text run as script; documents
// and plain values are data and are never run.
//
// Every failure (no engine, missing node, script error) reads as empty text, 0 or false; the
// writing operations answer whether their script ran. Backslashes of text stored by SetValue,
// ArrayAdd and SetItem are kept inside the engine as U+2400, and every text read turns U+2400
// back into a backslash. Call Init before Load: a document that never had an engine loads
// nothing. Not for use from several threads at once.
class JsonDocument {
public:
    // Larger texts are refused by Load. The engine interns every string it meets and slows
    // down steeply on big documents of many similar strings (about a second for 8 MB),
    // while the services' replies stay far below this.
    static constexpr std::size_t kMaxJsonSize = 4u * 1024 * 1024;

    explicit JsonDocument(Text name = "da", ScriptEngineFactory factory = CreateScriptEngine);
    // A copy shares the engine, so both see the same script variables.
    JsonDocument(const JsonDocument& other) = default;
    JsonDocument& operator=(const JsonDocument& other) = default;
    JsonDocument(JsonDocument&& other) noexcept = default;
    JsonDocument& operator=(JsonDocument&& other) noexcept = default;
    ~JsonDocument() = default;

    [[nodiscard]] const Text& Name() const { return m_name; }

    // Starts a fresh engine with the prelude and an empty document.
    void Init();
    // Replaces the engine by a fresh one and parses the text into the document. The text is
    // parsed as JSON, never run as script, with or without the direct flag (kept for callers
    // of either form); text that is not JSON, or longer than kMaxJsonSize, leaves the document
    // null. False when the document is null afterwards, and always when Init never gave the
    // document an engine.
    [[nodiscard]] bool Load(TextView json, bool direct = false, ScriptError* errorOut = nullptr);
    [[nodiscard]] bool Clear();
    [[nodiscard]] Text ToText();

    // Stores text (valueIsJson false) or merges/stores a JSON value (valueIsJson true: into an
    // existing object member by member, else replacing the node; empty means {}).
    [[nodiscard]] bool SetValue(TextView path = {}, TextView value = {}, bool valueIsJson = false);
    // Stores the value of a script expression.
    [[nodiscard]] bool SetExpression(TextView path = {}, TextView scriptValue = {});
    // Roots the path at the document unless it already names an existing node from the root.
    [[nodiscard]] bool ResolvePath(Text& pathInOut);
    [[nodiscard]] bool Exists(TextView path = {});
    // 0 null or missing, 1 boolean, 2 number, 4 object, 5 array, 6 string, -1 anything else.
    [[nodiscard]] int TypeOf(TextView path = {});
    [[nodiscard]] Text GetText(TextView path = {}, bool asJson = false);
    [[nodiscard]] int MemberNames(std::vector<Text>& namesOut, TextView path = {});
    [[nodiscard]] int Count(TextView path = {});
    [[nodiscard]] JsonDocument GetNode(TextView path = {});
    // Appends (or with atFront prepends) text; with raw the value is a script expression.
    [[nodiscard]] bool ArrayAdd(TextView value = {}, TextView path = {}, bool raw = false, bool atFront = false);
    [[nodiscard]] JsonDocument GetItem(int index = 0, TextView path = {});
    [[nodiscard]] Text GetItemText(int index = 0, TextView path = {}, bool asJson = false);
    [[nodiscard]] bool SetItem(int index = 0, TextView value = {}, TextView path = {}, bool raw = false);
    [[nodiscard]] bool RemoveItem(int index = 0, TextView path = {});
    [[nodiscard]] bool Remove(TextView path = {});
    [[nodiscard]] bool SetNumber(TextView path = {}, double number = 0);
    [[nodiscard]] double GetNumber(TextView path = {});
    [[nodiscard]] Text GetJson(TextView path = {});
    [[nodiscard]] std::shared_ptr<ScriptEngine> ScriptObject() const { return m_engine; }
    // Values (strings, numbers, booleans) of the node's members in order, descending into
    // objects and arrays when recursive. Values come back as the engine holds them (U+2400
    // stays).
    [[nodiscard]] int AllValues(std::vector<Text>& valuesOut, TextView path = {}, bool recursive = false);

private:
    [[nodiscard]] Text Resolved(TextView path);
    [[nodiscard]] bool Flag(TextView script);
    [[nodiscard]] bool Runs(TextView script);
    [[nodiscard]] Text TextResult(TextView script);
    [[nodiscard]] JsonDocument NewDocumentFrom(const Text& json) const;

    Text m_name;
    ScriptEngineFactory m_factory;
    std::shared_ptr<ScriptEngine> m_engine;
    // True while the engine is exactly as Init left it, so Load may reuse it instead of
    // starting another.
    bool m_pristine = false;
};

} // namespace tovrik::json
