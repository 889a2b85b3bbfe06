#pragma once

#include "text/Types.h"

#include <functional>
#include <memory>
#include <optional>

namespace tovrik::json {

// Details of the last failed script call, in the order the error record of a document load
// carries them. All zero or empty when the call succeeded.
struct ScriptError {
    int number = 0; // the engine's error kind; 0 means no error
    Text source;    // the error's name, for example "SyntaxError"
    Text description;
    Text helpFile;
    int helpContext = 0;
    Text text; // the source line the error was raised on, when the engine knows it
    int line = 0;
    int column = 0;
};

// The value of an evaluated expression, already converted the ways callers read it.
struct ScriptValue {
    enum class Type { Undefined, Null, Boolean, Number, String, Object };
    Type type = Type::Undefined;
    bool truthy = false; // the value as a truth value
    double number = 0;   // numbers as they are, booleans 1 or 0, numeric strings parsed; else 0
    Text text;           // the value as text; empty for undefined and null
};

// A JavaScript engine in which scripts keep their global definitions between calls. Program
// text crosses this boundary in code page 936; script errors never escape as exceptions.
class ScriptEngine {
public:
    virtual ~ScriptEngine() = default;

    // Runs the code as global code; its definitions persist. False on a script error.
    [[nodiscard]] virtual bool AddCode(TextView code) = 0;
    // The value of the expression (the completion value of the last statement); empty on a
    // script error.
    [[nodiscard]] virtual std::optional<ScriptValue> Eval(TextView expression) = 0;
    // Defines a global variable holding the text as a string value. The text is data: it is
    // never compiled.
    [[nodiscard]] virtual bool SetGlobalText(TextView name, TextView value) = 0;
    // The error of the last AddCode, Eval or SetGlobalText; cleared by every call.
    [[nodiscard]] virtual ScriptError LastError() const = 0;
};

using ScriptEngineFactory = std::function<std::shared_ptr<ScriptEngine>()>;

// A new engine of the kind this build uses; empty when none can be created.
[[nodiscard]] std::shared_ptr<ScriptEngine> CreateScriptEngine();

} // namespace tovrik::json
