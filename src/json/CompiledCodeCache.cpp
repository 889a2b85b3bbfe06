#include "json/CompiledCodeCache.h"

namespace tovrik::json {

CompiledCodeCache& CompiledCodeCache::Global() {
    static CompiledCodeCache cache;
    return cache;
}

bool CompiledCodeCache::Find(std::string_view source, std::string& compiledOut) {
    const std::lock_guard lock(m_mutex);
    for (const Entry& entry : m_entries) {
        if (entry.source == source) {
            compiledOut = entry.compiled;
            return true;
        }
    }
    return false;
}

void CompiledCodeCache::Store(std::string_view source, std::string_view compiled) {
    const std::lock_guard lock(m_mutex);
    if (m_entries.size() < kMaximumEntries) {
        m_entries.push_back({std::string(source), std::string(compiled)});
    }
}

} // namespace tovrik::json
