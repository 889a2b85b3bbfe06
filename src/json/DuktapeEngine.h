#pragma once

#include "json/ScriptEngine.h"

#include <cstddef>

struct duk_hthread;

namespace tovrik::json {

// ScriptEngine on Duktape. Every engine is its own heap with a memory budget: a script that
// needs more fails with an error instead of taking the machine's memory. Duktape's recursion
// limits (parser, JSON, regular expressions, calls) turn deep nesting into script errors.
class DuktapeEngine final : public ScriptEngine {
public:
    static constexpr std::size_t kDefaultMemoryLimit = 768u * 1024 * 1024;
    // Compiled forms of short eval scripts kept per heap (see ScriptShape) before starting over.
    static constexpr std::size_t kCachedFormsLimit = 256;

    explicit DuktapeEngine(std::size_t memoryLimit = kDefaultMemoryLimit);
    ~DuktapeEngine() override;
    DuktapeEngine(const DuktapeEngine&) = delete;
    DuktapeEngine& operator=(const DuktapeEngine&) = delete;

    // False when the heap could not be created; every call then fails.
    [[nodiscard]] bool IsValid() const { return m_context != nullptr; }

    [[nodiscard]] bool AddCode(TextView code) override;
    [[nodiscard]] std::optional<ScriptValue> Eval(TextView expression) override;
    [[nodiscard]] bool SetGlobalText(TextView name, TextView value) override;
    [[nodiscard]] ScriptError LastError() const override { return m_lastError; }

    struct Budget {
        std::size_t used = 0;
        std::size_t limit = 0;
    };

private:
    [[nodiscard]] bool Run(TextView code, bool evalCode, ScriptValue* valueOut);
    void RecordError(std::string_view engineCode);

    Budget m_budget;
    duk_hthread* m_context = nullptr;
    std::size_t m_cachedForms = 0;
    ScriptError m_lastError;
};

} // namespace tovrik::json
