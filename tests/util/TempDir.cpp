#include "TempDir.h"

#include "text/Encoding.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tovrik::testing {

namespace {

namespace fs = std::filesystem;

// UTF-8 is the one spelling std::filesystem understands the same way on both platforms.
fs::path FromText(TextView path) {
    const Bytes utf8 = text::TextToUtf8(path);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

Text ToText(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return text::Utf8ToText(Bytes(utf8.begin(), utf8.end()));
}

} // namespace

TempDir::TempDir() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) {
        throw std::runtime_error("no temporary folder: " + error.message());
    }
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("tovrik-test-" + std::to_string(random()));
        if (fs::create_directory(candidate, error)) {
            m_path = ToText(candidate);
            return;
        }
    }
    throw std::runtime_error("could not create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(FromText(m_path), ignored);
}

} // namespace tovrik::testing
