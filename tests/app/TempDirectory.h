#pragma once

#include "text/Types.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tovrik::app {

// A fresh folder under the system's temporary folder, removed with everything in it. Its path
// is plain ASCII, so it is the same as program text and as a file-system path.
class TempDirectory {
public:
    TempDirectory() {
        static std::atomic<int> counter{0};
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            m_path = base / ("tovrik-app-" + std::to_string(counter++) + "-" + std::to_string(attempt) + "-" +
                             std::to_string(reinterpret_cast<std::uintptr_t>(this) & 0xFFFFFF));
            if (std::filesystem::create_directory(m_path)) {
                break;
            }
        }
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    [[nodiscard]] Text Path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

} // namespace tovrik::app
