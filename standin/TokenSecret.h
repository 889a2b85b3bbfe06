#pragma once

#include <string>

namespace tovrik::standin {

// The secret the stand-in seals its tokens with, kept in a file so that tokens outlive a
// restart: by default token-secret in the stand-in's folder of the user's data folder
// ($XDG_DATA_HOME/tovrik-standin, else ~/.local/share/tovrik-standin).
[[nodiscard]] std::string DefaultTokenSecretPath();

// The first line of the file (at least 16 characters). A missing file is created with a new
// random secret, readable by the user alone. Empty when the file can neither be read nor
// made; errorOut says why.
[[nodiscard]] std::string LoadOrCreateTokenSecret(const std::string& path, std::string& errorOut);

// A secret that lives as long as the process, for when no file can hold one.
[[nodiscard]] std::string RandomTokenSecret();

} // namespace tovrik::standin
