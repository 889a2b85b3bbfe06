#include "SpeechService.h"
#include "StandinOptions.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

TEST(StandinOptionsTest, ReadsEveryOption) {
    std::string error;
    const auto options = ParseStandinOptions(
        {"--port",     "0",    "--api-key",        "a", "--secret-key", "s",           "--app-id",   "i",
         "--app-key",  "k",    "--token-lifetime", "2", "--ocr-lang",   "chi_sim+eng", "--tessdata", "/x",
         "--max-body", "4096", "--timeout",        "3", "--dictionary", "/d.idx"},
        error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->port, 0);
    EXPECT_EQ(options->apiKey, "a");
    EXPECT_EQ(options->secretKey, "s");
    EXPECT_EQ(options->appId, "i");
    EXPECT_EQ(options->appKey, "k");
    EXPECT_EQ(options->tokenLifetime.count(), 2);
    EXPECT_EQ(options->ocrLanguages, "chi_sim+eng");
    EXPECT_EQ(options->tessdata, "/x");
    EXPECT_EQ(options->maxBodyBytes, 4096U);
    EXPECT_EQ(options->timeout.count(), 3);
    EXPECT_EQ(options->dictionary, "/d.idx");
    EXPECT_FALSE(options->help);
}

TEST(StandinOptionsTest, RefusesBadValuesAndUnknownOptions) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{{"--port", "65536"},
                                                                                           {"--port", "-1"},
                                                                                           {"--port", "80x"},
                                                                                           {"--port"},
                                                                                           {"--token-lifetime", "0"},
                                                                                           {"--max-body", "10"},
                                                                                           {"--ocr-lang", ""},
                                                                                           {"--verbose", "1"},
                                                                                           {"stray"}}) {
        std::string error;
        EXPECT_FALSE(ParseStandinOptions(arguments, error).has_value()) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    const auto help = ParseStandinOptions({"--help"}, error);
    ASSERT_TRUE(help.has_value());
    EXPECT_TRUE(help->help);
}

TEST(SpeechSpeedTest, MapsSpeedStepsAroundTheNormalRate) {
    EXPECT_EQ(SpeechService::WordsPerMinute("5"), 175);
    EXPECT_EQ(SpeechService::WordsPerMinute(""), 175);
    EXPECT_EQ(SpeechService::WordsPerMinute("fast"), 175);
    EXPECT_LT(SpeechService::WordsPerMinute("0"), SpeechService::WordsPerMinute("5"));
    EXPECT_GT(SpeechService::WordsPerMinute("15"), SpeechService::WordsPerMinute("9"));
    EXPECT_EQ(SpeechService::WordsPerMinute("99"), SpeechService::WordsPerMinute("15"));
    EXPECT_EQ(SpeechService::WordsPerMinute("-4"), SpeechService::WordsPerMinute("0"));
}

} // namespace
} // namespace tovrik::standin
