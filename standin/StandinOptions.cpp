#include "StandinOptions.h"

#include <charconv>
#include <limits>

namespace tovrik::standin {

namespace {

template <typename Number> bool ParseNumber(const std::string& text, Number minimum, Number maximum, Number& valueOut) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum) {
        return false;
    }
    valueOut = value;
    return true;
}

} // namespace

std::string StandinUsage() {
    return "usage: tovrik-standin [options]\n"
           "Serves the cloud protocols of the OCR, translation and speech services on 127.0.0.1.\n"
           "  --port N              port to listen on; 0 picks a free one (default 8780)\n"
           "  --api-key KEY         accepted OCR API key, sent as client_id (default standin-api-key)\n"
           "  --secret-key KEY      accepted OCR secret key, sent as client_secret (default standin-secret-key)\n"
           "  --app-id ID           accepted translation app id (default 20240000000000001)\n"
           "  --app-key KEY         translation key the sign is checked with (default standin-app-key)\n"
           "  --token-lifetime S    seconds an access token lives (default 2592000, 30 days)\n"
           "  --token-secret-file F the secret tokens are sealed with, made when missing; tokens stay\n"
           "                        valid across restarts (default $XDG_DATA_HOME/tovrik-standin/token-secret)\n"
           "  --ocr-lang LANGS      auto (English or simplified Chinese, chosen per picture) or\n"
           "                        tesseract languages such as chi_sim+eng (default auto)\n"
           "  --tessdata DIR        tesseract's language data folder (default: tesseract's own)\n"
           "  --dictionary FILE     translation index (default: the installed one, else the build's)\n"
           "  --max-body BYTES      largest request body accepted (default 20971520)\n"
           "  --timeout S           read and write time-out of a connection (default 30)\n"
           "  --help                this text\n";
}

std::optional<StandinOptions> ParseStandinOptions(const std::vector<std::string>& arguments, std::string& errorOut) {
    StandinOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            errorOut = name.starts_with("--") ? "missing value for " + name : "unknown argument " + name;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        bool valid = true;
        if (name == "--port") {
            valid = ParseNumber(value, 0, 65535, options.port);
        } else if (name == "--api-key") {
            options.apiKey = value;
        } else if (name == "--secret-key") {
            options.secretKey = value;
        } else if (name == "--app-id") {
            options.appId = value;
        } else if (name == "--app-key") {
            options.appKey = value;
        } else if (name == "--token-lifetime") {
            long long seconds = 0;
            valid = ParseNumber(value, 1LL, 100LL * 365 * 24 * 3600, seconds);
            options.tokenLifetime = std::chrono::seconds(seconds);
        } else if (name == "--token-secret-file") {
            valid = !value.empty();
            options.tokenSecretFile = value;
        } else if (name == "--ocr-lang") {
            valid = !value.empty();
            options.ocrLanguages = value;
        } else if (name == "--tessdata") {
            options.tessdata = value;
        } else if (name == "--dictionary") {
            valid = !value.empty();
            options.dictionary = value;
        } else if (name == "--max-body") {
            valid =
                ParseNumber(value, std::size_t{1024}, std::numeric_limits<std::size_t>::max(), options.maxBodyBytes);
        } else if (name == "--timeout") {
            long long seconds = 0;
            valid = ParseNumber(value, 1LL, 3600LL, seconds);
            options.timeout = std::chrono::seconds(seconds);
        } else {
            errorOut = "unknown option " + name;
            return std::nullopt;
        }
        if (!valid) {
            errorOut = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}

} // namespace tovrik::standin
