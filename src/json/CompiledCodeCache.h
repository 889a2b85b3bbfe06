#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik::json {

// Compiling a long script (the documents' prelude, 17 KB) costs far more than starting an
// engine, so the compiled form of long global code is kept once per process and later engines
// load it. Only bytecode this process produced is ever stored, and so ever loaded. Safe to use
// from several threads.
class CompiledCodeCache {
public:
    static constexpr std::size_t kMinimumSource = 4096;
    static constexpr std::size_t kMaximumEntries = 4;

    [[nodiscard]] static CompiledCodeCache& Global();

    // True and the compiled form when the source was stored before.
    [[nodiscard]] bool Find(std::string_view source, std::string& compiledOut);
    // Keeps the first kMaximumEntries sources; later ones are not stored.
    void Store(std::string_view source, std::string_view compiled);

private:
    struct Entry {
        std::string source;
        std::string compiled;
    };
    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

} // namespace tovrik::json
