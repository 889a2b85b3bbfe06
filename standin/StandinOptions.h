#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tovrik::standin {

struct StandinOptions {
    int port = 8780;
    std::string apiKey = "standin-api-key";
    std::string secretKey = "standin-secret-key";
    std::string appId = "20240000000000001";
    std::string appKey = "standin-app-key";
    std::chrono::seconds tokenLifetime{2592000};
    // Empty: the default file in the user's data folder.
    std::string tokenSecretFile;
    std::string ocrLanguages = "auto";
    std::string tessdata;
    std::string dictionary; // the translation index; empty: the one the build made
    std::size_t maxBodyBytes = 20 * 1024 * 1024;
    std::chrono::seconds timeout{30};
    bool help = false;
};

[[nodiscard]] std::string StandinUsage();

// Nothing when an option is unknown, lacks its value or has a bad one; errorOut says which.
[[nodiscard]] std::optional<StandinOptions> ParseStandinOptions(const std::vector<std::string>& arguments,
                                                                std::string& errorOut);

} // namespace tovrik::standin
