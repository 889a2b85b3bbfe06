#include "json/DuktapeEngine.h"

#include "json/CompiledCodeCache.h"
#include "json/EngineText.h"
#include "json/OverlongExponent.h"
#include "json/ScriptShape.h"

#include <duktape.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tovrik::json {

namespace {

// Each block carries its size in front, so that the budget knows what a free gives back.
constexpr std::size_t kHeader = alignof(std::max_align_t);

using Budget = DuktapeEngine::Budget;

void* BudgetAlloc(void* udata, duk_size_t size) {
    auto* budget = static_cast<Budget*>(udata);
    if (size == 0 || size > budget->limit - budget->used) {
        return nullptr;
    }
    auto* raw = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (raw == nullptr) {
        return nullptr;
    }
    std::memcpy(raw, &size, sizeof size);
    budget->used += size;
    return raw + kHeader;
}

void BudgetFree(void* udata, void* ptr) {
    if (ptr == nullptr) {
        return;
    }
    auto* raw = static_cast<unsigned char*>(ptr) - kHeader;
    duk_size_t size = 0;
    std::memcpy(&size, raw, sizeof size);
    static_cast<Budget*>(udata)->used -= size;
    std::free(raw);
}

void* BudgetRealloc(void* udata, void* ptr, duk_size_t size) {
    if (ptr == nullptr) {
        return BudgetAlloc(udata, size);
    }
    if (size == 0) {
        BudgetFree(udata, ptr);
        return nullptr;
    }
    auto* budget = static_cast<Budget*>(udata);
    auto* raw = static_cast<unsigned char*>(ptr) - kHeader;
    duk_size_t old = 0;
    std::memcpy(&old, raw, sizeof old);
    if (size > old && size - old > budget->limit - budget->used) {
        return nullptr;
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(raw, size + kHeader));
    if (grown == nullptr) {
        return nullptr;
    }
    std::memcpy(grown, &size, sizeof size);
    budget->used = budget->used - old + size;
    return grown + kHeader;
}

std::string_view StringAt(duk_context* ctx, duk_idx_t index) {
    duk_size_t length = 0;
    const char* data = duk_get_lstring(ctx, index, &length);
    return data == nullptr ? std::string_view() : std::string_view(data, length);
}

// Protected, on the string on top of the stack: its number, which duk_to_number may refuse with a
// RangeError (see OverlongExponent.h).
duk_ret_t StringToNumberProtected(duk_context* ctx, void* udata) {
    *static_cast<double*>(udata) = duk_to_number(ctx, -1);
    return 0;
}

double NumberOfString(duk_context* ctx) {
    double number = 0;
    duk_dup_top(ctx);
    if (duk_safe_call(ctx, StringToNumberProtected, &number, 1, 1) != DUK_EXEC_SUCCESS) {
        number = NumberOfOverlongExponent(StringAt(ctx, -2));
    }
    duk_pop(ctx);
    return std::isnan(number) ? 0 : number;
}

// Reads the value on top of the stack into `value`. Runs inside a protected call, where an error
// thrown by a duk_* call jumps past every C++ frame in between without running destructors: so the
// value belongs to the caller of the protected call, and no C++ object with a destructor is alive
// here across a duk_* call (texts are assigned from temporaries that end before the next call).
void ReadValue(duk_context* ctx, ScriptValue& value) {
    value = {};
    duk_dup_top(ctx);
    value.truthy = duk_to_boolean(ctx, -1) != 0;
    duk_pop(ctx);
    switch (duk_get_type(ctx, -1)) {
    case DUK_TYPE_NULL:
        value.type = ScriptValue::Type::Null;
        break;
    case DUK_TYPE_BOOLEAN:
        value.type = ScriptValue::Type::Boolean;
        value.number = value.truthy ? 1 : 0;
        value.text = value.truthy ? "true" : "false";
        break;
    case DUK_TYPE_NUMBER:
        value.type = ScriptValue::Type::Number;
        value.number = duk_get_number(ctx, -1);
        duk_dup_top(ctx);
        value.text = duk_to_string(ctx, -1);
        duk_pop(ctx);
        break;
    case DUK_TYPE_STRING:
        value.type = ScriptValue::Type::String;
        value.number = NumberOfString(ctx);
        value.text = FromEngineText(StringAt(ctx, -1));
        break;
    case DUK_TYPE_UNDEFINED:
    case DUK_TYPE_NONE:
        break;
    default: {
        value.type = ScriptValue::Type::Object;
        duk_dup_top(ctx);
        duk_size_t length = 0;
        const char* text = duk_safe_to_lstring(ctx, -1, &length);
        value.text = FromEngineText(std::string_view(text, length));
        duk_pop(ctx);
        break;
    }
    }
}

constexpr const char* kEvalCacheName = "tovrikEvalCache";

// What a protected run needs and gives back. Everything with a destructor is owned by Run, outside
// the protected call.
struct RunJob {
    std::string_view code;
    bool evalCode = false;
    const ScriptShape* shape = nullptr; // eval code that may be compiled once per heap
    std::size_t* cachedForms = nullptr;
    ScriptValue* valueOut = nullptr;
    std::string_view cachedBytecode;    // global code found in the bytecode cache
    std::string* bytecodeOut = nullptr; // global code worth caching: its compiled form
};

void Compile(duk_context* ctx, std::string_view code, bool evalCode) {
    duk_push_string(ctx, evalCode ? "eval" : "code");
    duk_compile_lstring_filename(ctx, evalCode ? DUK_COMPILE_EVAL : 0, code.data(), code.size());
}

// Global code: long scripts come from the process-wide bytecode cache (looked up and filled by
// Run, outside the protected call).
void PushGlobalCode(duk_context* ctx, const RunJob& job) {
    if (!job.cachedBytecode.empty()) {
        void* buffer = duk_push_fixed_buffer(ctx, job.cachedBytecode.size());
        std::memcpy(buffer, job.cachedBytecode.data(), job.cachedBytecode.size());
        duk_load_function(ctx);
        return;
    }
    Compile(ctx, job.code, false);
    if (job.bytecodeOut != nullptr) {
        duk_dup_top(ctx);
        duk_dump_function(ctx);
        duk_size_t size = 0;
        const void* data = duk_get_buffer(ctx, -1, &size);
        job.bytecodeOut->assign(static_cast<const char*>(data), size);
        duk_pop(ctx);
    }
}

// Eval code in its reusable form: the indexes go into their global variables, and the form is
// compiled once per heap and kept in the heap's stash.
void PushShapedEval(duk_context* ctx, const ScriptShape& shape, std::size_t& cachedForms) {
    duk_push_global_object(ctx);
    for (std::size_t i = 0; i < shape.indexes.size(); ++i) {
        duk_push_lstring(ctx, ScriptShape::kIndexVariable.data(), ScriptShape::kIndexVariable.size());
        duk_push_uint(ctx, static_cast<duk_uint_t>(i));
        duk_concat(ctx, 2);
        duk_push_uint(ctx, shape.indexes[i]);
        duk_def_prop(ctx, -3,
                     DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WRITABLE | DUK_DEFPROP_CLEAR_ENUMERABLE |
                         DUK_DEFPROP_SET_CONFIGURABLE);
    }
    duk_pop(ctx);

    duk_push_global_stash(ctx);
    if (!duk_get_prop_string(ctx, -1, kEvalCacheName) || cachedForms >= DuktapeEngine::kCachedFormsLimit) {
        duk_pop(ctx);
        duk_push_object(ctx);
        duk_dup_top(ctx);
        duk_put_prop_string(ctx, -3, kEvalCacheName);
        cachedForms = 0;
    }
    if (!duk_get_prop_lstring(ctx, -1, shape.text.data(), shape.text.size())) {
        duk_pop(ctx);
        Compile(ctx, shape.text, true);
        duk_dup_top(ctx);
        duk_put_prop_lstring(ctx, -3, shape.text.data(), shape.text.size());
        ++cachedForms;
    }
    duk_replace(ctx, -3);
    duk_pop(ctx);
}

duk_ret_t RunProtected(duk_context* ctx, void* udata) {
    auto* job = static_cast<RunJob*>(udata);
    if (!job->evalCode) {
        PushGlobalCode(ctx, *job);
    } else if (job->shape != nullptr && job->shape->reusable) {
        PushShapedEval(ctx, *job->shape, *job->cachedForms);
    } else {
        Compile(ctx, job->code, true);
    }
    duk_call(ctx, 0);
    if (job->valueOut != nullptr) {
        ReadValue(ctx, *job->valueOut);
    }
    return 0;
}

struct GlobalTextJob {
    std::string_view name;
    std::string_view value;
};

duk_ret_t SetGlobalTextProtected(duk_context* ctx, void* udata) {
    auto* job = static_cast<GlobalTextJob*>(udata);
    duk_push_global_object(ctx);
    duk_push_lstring(ctx, job->value.data(), job->value.size());
    duk_put_prop_lstring(ctx, -2, job->name.data(), job->name.size());
    return 0;
}

struct ErrorJob {
    std::string_view code;
    ScriptError* errorOut = nullptr;
};

Text LineOf(std::string_view code, int line) {
    for (int current = 1; current < line; ++current) {
        const std::size_t next = code.find('\n');
        if (next == std::string_view::npos) {
            return {};
        }
        code.remove_prefix(next + 1);
    }
    code = code.substr(0, code.find('\n'));
    if (!code.empty() && code.back() == '\r') {
        code.remove_suffix(1);
    }
    return FromEngineText(code);
}

// Gets the thrown value as its one argument; reads what the error record needs.
duk_ret_t ReadErrorProtected(duk_context* ctx, void* udata) {
    auto* job = static_cast<ErrorJob*>(udata);
    ScriptError& error = *job->errorOut;
    const duk_idx_t thrown = 0;
    const duk_errcode_t code = duk_get_error_code(ctx, thrown);
    error.number = code != DUK_ERR_NONE ? static_cast<int>(code) : DUK_ERR_ERROR;
    if (duk_is_object(ctx, thrown)) {
        duk_get_prop_string(ctx, thrown, "name");
        if (duk_is_string(ctx, -1)) {
            error.source = FromEngineText(StringAt(ctx, -1));
        }
        duk_pop(ctx);
        duk_get_prop_string(ctx, thrown, "message");
        if (duk_is_string(ctx, -1)) {
            error.description = FromEngineText(StringAt(ctx, -1));
        }
        duk_pop(ctx);
        duk_get_prop_string(ctx, thrown, "lineNumber");
        if (duk_is_number(ctx, -1)) {
            error.line = static_cast<int>(duk_get_int(ctx, -1));
        }
        duk_pop(ctx);
    } else {
        duk_dup(ctx, thrown);
        duk_size_t length = 0;
        const char* text = duk_safe_to_lstring(ctx, -1, &length);
        error.description = FromEngineText(std::string_view(text, length));
        duk_pop(ctx);
    }
    if (error.line > 0) {
        error.text = LineOf(job->code, error.line);
    }
    return 0;
}

} // namespace

DuktapeEngine::DuktapeEngine(std::size_t memoryLimit) {
    m_budget.limit = memoryLimit;
    m_context = duk_create_heap(BudgetAlloc, BudgetRealloc, BudgetFree, &m_budget, nullptr);
}

DuktapeEngine::~DuktapeEngine() {
    if (m_context != nullptr) {
        duk_destroy_heap(m_context);
    }
}

bool DuktapeEngine::AddCode(TextView code) {
    return Run(code, false, nullptr);
}

std::optional<ScriptValue> DuktapeEngine::Eval(TextView expression) {
    ScriptValue value;
    if (!Run(expression, true, &value)) {
        return std::nullopt;
    }
    return value;
}

bool DuktapeEngine::SetGlobalText(TextView name, TextView value) {
    m_lastError = {};
    if (m_context == nullptr) {
        m_lastError.number = DUK_ERR_ERROR;
        return false;
    }
    const Bytes engineName = ToEngineText(name);
    const Bytes engineValue = ToEngineText(value);
    GlobalTextJob job{engineName, engineValue};
    const bool ok = duk_safe_call(m_context, SetGlobalTextProtected, &job, 0, 1) == DUK_EXEC_SUCCESS;
    if (!ok) {
        RecordError({});
    }
    duk_pop(m_context);
    return ok;
}

bool DuktapeEngine::Run(TextView code, bool evalCode, ScriptValue* valueOut) {
    m_lastError = {};
    if (m_context == nullptr) {
        m_lastError.number = DUK_ERR_ERROR;
        return false;
    }
    const Bytes engineCode = ToEngineText(code);
    const ScriptShape shape = evalCode ? ShapeOf(engineCode) : ScriptShape{};
    RunJob job;
    job.code = engineCode;
    job.evalCode = evalCode;
    job.shape = &shape;
    job.cachedForms = &m_cachedForms;
    job.valueOut = valueOut;
    std::string cachedBytecode;
    std::string compiledBytecode;
    const bool cacheable = !evalCode && engineCode.size() >= CompiledCodeCache::kMinimumSource;
    if (cacheable && CompiledCodeCache::Global().Find(engineCode, cachedBytecode)) {
        job.cachedBytecode = cachedBytecode;
    } else if (cacheable) {
        job.bytecodeOut = &compiledBytecode;
    }
    const bool ok = duk_safe_call(m_context, RunProtected, &job, 0, 1) == DUK_EXEC_SUCCESS;
    if (!ok) {
        RecordError(engineCode);
    } else if (!compiledBytecode.empty()) {
        CompiledCodeCache::Global().Store(engineCode, compiledBytecode);
    }
    duk_pop(m_context);
    return ok;
}

// Takes the thrown value from the top of the stack and leaves one value in its place.
void DuktapeEngine::RecordError(std::string_view engineCode) {
    ErrorJob job{engineCode, &m_lastError};
    if (duk_safe_call(m_context, ReadErrorProtected, &job, 1, 1) != DUK_EXEC_SUCCESS && m_lastError.number == 0) {
        m_lastError.number = DUK_ERR_ERROR;
    }
}

std::shared_ptr<ScriptEngine> CreateScriptEngine() {
    auto engine = std::make_shared<DuktapeEngine>();
    if (!engine->IsValid()) {
        return nullptr;
    }
    return engine;
}

} // namespace tovrik::json
