// Start-up of the stand-in executable: options it refuses, and a fixed OCR language.

#include "Base64.h"
#include "StandinProcess.h"
#include "TestSupport.h"
#include "TextStripRenderer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace tovrik::standin {
namespace {

using test::StandinProcess;

TEST(StandinStartTest, RefusesBadOptionsAndMissingLanguagesWithoutListening) {
    EXPECT_FALSE(StandinProcess({"--port", "seventy"}).IsListening());
    EXPECT_FALSE(StandinProcess({"--no-such-option", "1"}).IsListening());
    EXPECT_FALSE(StandinProcess({"--ocr-lang", "xx_no_such_language"}).IsListening());
    EXPECT_FALSE(StandinProcess({"--dictionary", "/nonexistent/dictionary.idx"}).IsListening());
}

TEST(StandinStartTest, RunsWithOpenMpHeldToOneThreadFromTheStart) {
    // OpenMP reads the limit when the library loads: the stand-in must have it in its own
    // environment, which it gets by starting itself again.
    unsetenv("OMP_THREAD_LIMIT");
    const StandinProcess standin;
    ASSERT_TRUE(standin.IsListening());
    std::ifstream environment("/proc/" + std::to_string(standin.Pid()) + "/environ", std::ios::binary);
    std::vector<std::string> variables;
    for (std::string variable; std::getline(environment, variable, '\0');) {
        variables.push_back(variable);
    }
    EXPECT_NE(std::find(variables.begin(), variables.end(), "OMP_THREAD_LIMIT=1"), variables.end());
}

TEST(StandinStartTest, FixedLanguageReadsWithThatModelOnly) {
    const StandinProcess standin({"--ocr-lang", "eng"});
    ASSERT_TRUE(standin.IsListening());
    httplib::Client client("127.0.0.1", standin.Port());
    client.set_read_timeout(60, 0);
    auto token = client.Post("/oauth/2.0/token",
                             std::string("grant_type=client_credentials&client_id=") + StandinProcess::kApiKey +
                                 "&client_secret=" + StandinProcess::kSecretKey,
                             "application/x-www-form-urlencoded");
    ASSERT_TRUE(token);
    const auto tokenJson = test::JsonValue::Parse(token->body);
    ASSERT_TRUE(tokenJson && tokenJson->Has("access_token"));

    StripSpec layout;
    layout.lines = {"Fixed languages are handed to tesseract as they are.", "汉字"};
    const std::string picture = TextStripRenderer().Render(layout, StripFormat::Png);
    auto reply = client.Post("/rest/2.0/ocr/v1/general_basic?access_token=" + tokenJson->Find("access_token")->text,
                             "image=" + test::UrlEncode(Base64Encode(picture)), "application/x-www-form-urlencoded");
    ASSERT_TRUE(reply);
    const auto json = test::JsonValue::Parse(reply->body);
    ASSERT_TRUE(json && json->Has("words_result")) << reply->body;
    const auto& items = json->Find("words_result")->items;
    ASSERT_FALSE(items.empty());
    EXPECT_GE(test::CharacterAccuracy(layout.lines[0], items[0].Find("words")->text), 0.98);
    // The English model alone has no Chinese to fall back on.
    for (const auto& item : items) {
        EXPECT_EQ(item.Find("words")->text.find("汉"), std::string::npos);
    }
}

} // namespace
} // namespace tovrik::standin
