#include "TokenSecret.h"

#include <openssl/rand.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tovrik::standin {

namespace {

constexpr size_t kMinimumLength = 16;
constexpr size_t kRandomBytes = 32;

std::string ReadSecret(const std::string& path, std::string& errorOut) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line)) {
        errorOut = "cannot read " + path;
        return {};
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    if (line.size() < kMinimumLength) {
        errorOut = path + " holds no secret of at least 16 characters";
        return {};
    }
    return line;
}

} // namespace

std::string DefaultTokenSecretPath() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path folder;
    if (dataHome != nullptr && dataHome[0] == '/') {
        folder = dataHome;
    } else if (home != nullptr && home[0] != '\0') {
        folder = std::filesystem::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return (folder / "tovrik-standin" / "token-secret").string();
}

std::string RandomTokenSecret() {
    unsigned char raw[kRandomBytes];
    if (RAND_bytes(raw, sizeof raw) != 1) {
        return {};
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : raw) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    return hex;
}

std::string LoadOrCreateTokenSecret(const std::string& path, std::string& errorOut) {
    if (path.empty()) {
        errorOut = "no data folder (neither XDG_DATA_HOME nor HOME is set)";
        return {};
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    // Exclusive creation: of two stand-ins starting together one writes, the other reads.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        if (errno != EEXIST) {
            errorOut = "cannot create " + path + ": " + std::strerror(errno);
            return {};
        }
        return ReadSecret(path, errorOut);
    }
    const std::string secret = RandomTokenSecret();
    const std::string line = secret + "\n";
    const bool written = !secret.empty() && write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    close(fd);
    if (!written) {
        unlink(path.c_str());
        errorOut = "cannot write " + path;
        return {};
    }
    return secret;
}

} // namespace tovrik::standin
