#include "json/JsonDocument.h"

#include "json/ScriptPrelude.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tovrik::json {

namespace {

// Global script variables through which data reaches the engine without being compiled.
constexpr TextView kLoadVariable = "str__load";
constexpr TextView kValueVariable = "str__value";

// Between the values that AllValues joins; no value is expected to contain it.
constexpr TextView kValueSeparator = "[2020年7月20日20时0分0秒]";

// Reads turn the backslash placeholder back into a backslash (script text: '\\').
constexpr TextView kUnplaceholder = ".replace(str_reg, '\\\\')";
// Program text cannot hold the placeholder itself, so JSON handed to a new document carries it
// as the escape \u2400, which that document's parser turns back into the placeholder.
constexpr TextView kPlaceholderEscaped = ".replace(str_reg, '\\\\u2400')";

// The body of a single-quoted script string holding the text.
Text Escaped(TextView value) {
    Text escaped;
    escaped.reserve(value.size() + 8);
    for (const char c : value) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\'':
            escaped += "\\'";
            break;
        case '"':
            escaped += "\\\"";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// Script text of a stored text value: a quoted string whose backslashes become the placeholder.
Text StoredText(TextView value) {
    Text stored = "'";
    stored += Escaped(value);
    stored += "'.replace(/\\\\/g, str_Code)";
    return stored;
}

Text Decimal(double number) {
    if (std::isnan(number)) {
        return "NaN";
    }
    if (std::isinf(number)) {
        return number > 0 ? "Infinity" : "-Infinity";
    }
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
    return Text(buffer, result.ptr);
}

int ToInt(double number) {
    if (std::isnan(number)) {
        return 0;
    }
    if (number >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (number <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(number);
}

Text Rooted(const Text& name, const Text& path) {
    if (path.empty()) {
        return name;
    }
    if (path.front() == '[') {
        return name + path;
    }
    return name + "." + path;
}

std::vector<Text> Split(TextView text, TextView separator) {
    std::vector<Text> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(separator, start);
        if (found == TextView::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

} // namespace

JsonDocument::JsonDocument(Text name, ScriptEngineFactory factory)
    : m_name(std::move(name)), m_factory(std::move(factory)) {}

void JsonDocument::Init() {
    m_pristine = false;
    m_engine = m_factory ? m_factory() : nullptr;
    if (!m_engine) {
        return;
    }
    const bool ready =
        m_engine->AddCode(ScriptPrelude()) &&
        m_engine->Eval("var " + m_name +
                       " = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, 'g')");
    m_pristine = ready;
}

bool JsonDocument::Load(TextView json, bool /*direct*/, ScriptError* errorOut) {
    if (errorOut != nullptr) {
        *errorOut = {};
    }
    if (!m_engine) {
        return false;
    }
    if (!m_pristine || m_engine.use_count() != 1) {
        Init();
        if (!m_engine) {
            return false;
        }
    }
    m_pristine = false;
    if (json.size() > kMaxJsonSize) {
        (void)Runs("var " + m_name + " = null");
        if (errorOut != nullptr) {
            errorOut->number = -1;
            errorOut->source = "JsonDocument";
            errorOut->description = "JSON text longer than " + std::to_string(kMaxJsonSize) + " bytes";
        }
        return false;
    }
    // The reply is data: it reaches the engine as a string and only JSON.parse looks at it.
    const Text variable(kLoadVariable);
    if (m_engine->SetGlobalText(variable, json)) {
        (void)Runs("var " + m_name + " = null; try { var " + m_name + " = JSON.parse(" + variable + ") } finally { " +
                   variable + " = null }");
    } else {
        (void)Runs("var " + m_name + " = null");
    }
    if (errorOut != nullptr) {
        *errorOut = m_engine->LastError();
    }
    return Flag(m_name + " != null");
}

bool JsonDocument::Clear() {
    return Runs(m_name + " = {}");
}

Text JsonDocument::ToText() {
    return TextResult("JSON.stringify(" + m_name + ")" + Text(kUnplaceholder));
}

bool JsonDocument::SetValue(TextView path, TextView value, bool valueIsJson) {
    Text resolved(path);
    const bool exists = ResolvePath(resolved);
    if (!m_engine) {
        return false;
    }
    m_pristine = false;
    if (!valueIsJson) {
        return Runs(resolved + " = " + StoredText(value));
    }
    // The JSON value is data too: parsed, not run.
    if (!m_engine->SetGlobalText(kValueVariable, value.empty() ? TextView("{}") : value)) {
        return false;
    }
    const Text parsed = "JSON.parse(" + Text(kValueVariable) + ")";
    const bool merge = exists && TextResult("Object.prototype.toString.call(" + resolved + ")") == "[object Object]";
    const bool stored =
        merge ? Runs(resolved + " = get__extend(" + resolved + ", " + parsed + ")") : Runs(resolved + " = " + parsed);
    (void)Runs(Text(kValueVariable) + " = null");
    return stored;
}

bool JsonDocument::SetExpression(TextView path, TextView scriptValue) {
    return Runs(Resolved(path) + " = eval(" + Text(scriptValue) + ")");
}

bool JsonDocument::ResolvePath(Text& pathInOut) {
    if (pathInOut.starts_with(m_name) && Flag(pathInOut + " != null")) {
        return true;
    }
    pathInOut = Rooted(m_name, pathInOut);
    return Flag(pathInOut + " != null");
}

bool JsonDocument::Exists(TextView path) {
    Text copy(path);
    return ResolvePath(copy);
}

int JsonDocument::TypeOf(TextView path) {
    const Text resolved = Resolved(path);
    if (!m_engine) {
        return 0;
    }
    const auto isNull = m_engine->Eval(resolved + " == null");
    if (!isNull || isNull->truthy) {
        return 0;
    }
    const Text kind = TextResult("Object.prototype.toString.call(" + resolved + ")");
    if (kind == "[object Boolean]") {
        return 1;
    }
    if (kind == "[object Number]") {
        return 2;
    }
    if (kind == "[object Object]") {
        return 4;
    }
    if (kind == "[object Array]") {
        return 5;
    }
    if (kind == "[object String]") {
        return 6;
    }
    return -1;
}

Text JsonDocument::GetText(TextView path, bool asJson) {
    const Text resolved = Resolved(path);
    if (asJson) {
        return TextResult("JSON.stringify(" + resolved + ")" + Text(kUnplaceholder));
    }
    return TextResult(resolved + ".toString()" + Text(kUnplaceholder));
}

int JsonDocument::MemberNames(std::vector<Text>& namesOut, TextView path) {
    const Text names = TextResult("get__name_All(" + Resolved(path) + ")");
    namesOut.clear();
    if (!names.empty()) {
        namesOut = Split(names, "\r\n");
    }
    return static_cast<int>(namesOut.size());
}

int JsonDocument::Count(TextView path) {
    const Text resolved = Resolved(path);
    if (!m_engine) {
        return 0;
    }
    const auto count = m_engine->Eval("get__count(" + resolved + ")");
    return count ? ToInt(count->number) : 0;
}

JsonDocument JsonDocument::GetNode(TextView path) {
    // The new document gets the placeholders, so that its own reads restore the backslashes
    // exactly once.
    return NewDocumentFrom(TextResult("JSON.stringify(" + Resolved(path) + ")" + Text(kPlaceholderEscaped)));
}

bool JsonDocument::ArrayAdd(TextView value, TextView path, bool raw, bool atFront) {
    const Text resolved = Resolved(path);
    const Text item = raw ? Text(value) : StoredText(value);
    return Runs("if (Object.prototype.toString.call(" + resolved + ") != '[object Array]') { " + resolved +
                " = new Array() } " + resolved + (atFront ? ".unshift(" : ".push(") + item + ")");
}

JsonDocument JsonDocument::GetItem(int index, TextView path) {
    return NewDocumentFrom(TextResult("JSON.stringify(" + Resolved(path) + "[" + std::to_string(index) + "])" +
                                      Text(kPlaceholderEscaped)));
}

Text JsonDocument::GetItemText(int index, TextView path, bool asJson) {
    const Text item = Resolved(path) + "[" + std::to_string(index) + "]";
    if (asJson) {
        return TextResult("JSON.stringify(" + item + ")" + Text(kUnplaceholder));
    }
    return TextResult(item + Text(kUnplaceholder));
}

bool JsonDocument::SetItem(int index, TextView value, TextView path, bool raw) {
    const Text item = raw ? Text(value) : StoredText(value);
    return Runs(Resolved(path) + "[" + std::to_string(index) + "] = " + item);
}

bool JsonDocument::RemoveItem(int index, TextView path) {
    return Runs(Resolved(path) + ".splice(" + std::to_string(index) + ", 1)");
}

bool JsonDocument::Remove(TextView path) {
    return Flag("delete " + Resolved(path));
}

bool JsonDocument::SetNumber(TextView path, double number) {
    return Runs(Resolved(path) + " = " + Decimal(number));
}

double JsonDocument::GetNumber(TextView path) {
    const Text resolved = Resolved(path);
    if (!m_engine) {
        return 0;
    }
    const auto value = m_engine->Eval(resolved);
    return value ? value->number : 0;
}

Text JsonDocument::GetJson(TextView path) {
    return TextResult("JSON.stringify(" + Resolved(path) + ")" + Text(kUnplaceholder));
}

int JsonDocument::AllValues(std::vector<Text>& valuesOut, TextView path, bool recursive) {
    valuesOut.clear();
    const Text resolved = Resolved(path);
    if (!Runs("var str_all = new Array()") ||
        !Runs("get__nodeValue(" + resolved + ", " + (recursive ? "true" : "false") + ")")) {
        return 0;
    }
    const auto joined = m_engine->Eval("str_all.join('" + Text(kValueSeparator) + "')");
    if (!joined) {
        return 0;
    }
    if (joined->text.empty()) {
        // Nothing, or one empty text: the join cannot tell, the length can.
        const auto length = m_engine->Eval("str_all.length");
        valuesOut.assign(length && length->number == 1 ? 1 : 0, Text());
    } else {
        valuesOut = Split(joined->text, kValueSeparator);
    }
    return static_cast<int>(valuesOut.size());
}

Text JsonDocument::Resolved(TextView path) {
    Text resolved(path);
    // Only a path that may already start at the root needs the engine to decide; the others
    // are rooted by their syntax alone, and the existence check would not change them.
    if (!resolved.starts_with(m_name)) {
        return Rooted(m_name, resolved);
    }
    (void)ResolvePath(resolved);
    return resolved;
}

bool JsonDocument::Flag(TextView script) {
    if (!m_engine) {
        return false;
    }
    m_pristine = false;
    const auto value = m_engine->Eval(script);
    return value && value->truthy;
}

bool JsonDocument::Runs(TextView script) {
    if (!m_engine) {
        return false;
    }
    m_pristine = false;
    return m_engine->Eval(script).has_value();
}

Text JsonDocument::TextResult(TextView script) {
    if (!m_engine) {
        return {};
    }
    m_pristine = false;
    const auto value = m_engine->Eval(script);
    return value ? value->text : Text();
}

JsonDocument JsonDocument::NewDocumentFrom(const Text& json) const {
    JsonDocument document("da", m_factory);
    document.Init();
    (void)document.Load(json);
    return document;
}

} // namespace tovrik::json
