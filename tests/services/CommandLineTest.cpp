#include "services/CommandLine.h"
#include "ServiceHarness.h"
#include "files/Files.h"
#include "text/Encoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace tovrik::servicetest {
namespace {

using services::CommandLine;
using services::PictureVerdict;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(CommandLineParse, StepsInOrderWithOptionalTexts) {
    Text error;
    const auto steps = CommandLine::Parse({"--recognize", "a.png", "--translate", "--speak", "你好"}, error);
    ASSERT_TRUE(steps) << error;
    ASSERT_EQ(steps->size(), 3u);
    EXPECT_EQ((*steps)[0].action, CommandLine::Action::Recognize);
    EXPECT_EQ((*steps)[0].argument, Text("a.png"));
    EXPECT_EQ((*steps)[1].action, CommandLine::Action::Translate);
    EXPECT_FALSE((*steps)[1].argument);
    EXPECT_EQ((*steps)[2].action, CommandLine::Action::Speak);
    EXPECT_EQ((*steps)[2].argument, Text("你好"));
}

TEST(CommandLineParse, RefusesWhatCannotRun) {
    for (const std::vector<Text>& arguments : std::vector<std::vector<Text>>{{},
                                                                             {"--recognize"},
                                                                             {"--recognize", "--translate"},
                                                                             {"--translate"},
                                                                             {"--speak"},
                                                                             {"--ocr", "x"},
                                                                             {"stray"},
                                                                             {"--translate", "a", "b"}}) {
        Text error;
        EXPECT_FALSE(CommandLine::Parse(arguments, error)) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CommandLineParse, HelpMeansNoSteps) {
    Text error;
    const auto steps = CommandLine::Parse({"--translate", "x", "--help"}, error);
    ASSERT_TRUE(steps);
    EXPECT_THAT(*steps, IsEmpty());
}

struct CommandLineRun : ::testing::Test {
    TempDirectory directory;
    testutil::FakeHttpTransport web;
    testutil::FakeHttpTransport com;
    ManualClock clock;
    fakes::FakeAudioPlayer audio;
    std::ostringstream out;
    std::ostringstream err;
    settings::SettingsStore settings{directory.Path()};
    CommandLine commandLine{directory.Path(), out, err};
    services::RecognitionService service{directory.Path(),
                                         {.webTransport = web,
                                          .comTransport = com,
                                          .clock = clock,
                                          .keys = commandLine.Keys(),
                                          .status = commandLine.Status(),
                                          .audio = audio,
                                          .toJpeg = [](BytesView image) { return Bytes(image); }}};
    Text picture = files::JoinPath(directory.Path(), "sample.png");

    void SetUp() override {
        settings.WriteItem("OCR", "识别ApiKey", "file-api");
        settings.WriteItem("OCR", "识别SecretKey", "file-secret");
        ASSERT_TRUE(files::WriteFile(picture, "PNG bytes"));
    }
    [[nodiscard]] int Run(const std::vector<Text>& arguments) { return commandLine.Run(service, arguments); }
};

TEST_F(CommandLineRun, RecognisesWithTheKeysOfTheSettingsFileAndPrintsUtf8Lines) {
    web.Script(Reply(R"({"access_token":"t","expires_in":100})"));
    web.Script(Reply(text::TextToUtf8(R"({"words_result":[{"words":"第一行"},{"words":"second"}]})")));

    EXPECT_EQ(Run({"--recognize", picture}), 0) << err.str();

    EXPECT_EQ(out.str(), text::TextToUtf8("第一行\nsecond\n"));
    EXPECT_EQ(web.Requests()[0].body, "grant_type=client_credentials&client_id=file-api&client_secret=file-secret");
    EXPECT_EQ(err.str(), "");
}

TEST_F(CommandLineRun, RecognisedTextFeedsTheTranslation) {
    web.Script(Reply(R"({"access_token":"t","expires_in":100})"));
    web.Script(Reply(R"({"words_result":[{"words":"apple"}]})"));
    web.Script(Reply(text::TextToUtf8("errorCode=0\r\nresult=苹果")));

    EXPECT_EQ(Run({"--recognize", picture, "--translate"}), 0) << err.str();

    EXPECT_THAT(web.Requests()[2].url, HasSubstr("/translate?i=apple%0D%0A&type=AUTO"));
    EXPECT_EQ(out.str(), text::TextToUtf8("apple\n苹果\n"));
}

TEST_F(CommandLineRun, RefusedKeysAreExplained) {
    web.Script(Reply(R"({"error":"invalid_client"})"));

    EXPECT_EQ(Run({"--recognize", picture}), CommandLine::kFailure);

    EXPECT_THAT(err.str(), HasSubstr(text::TextToUtf8("错误的Api Key或Secret Key")));
    EXPECT_THAT(err.str(), HasSubstr("refused the keys"));
    EXPECT_EQ(out.str(), "");
}

TEST_F(CommandLineRun, UnreachableServiceIsExplained) {
    web.FailToOpen();
    EXPECT_EQ(Run({"--recognize", picture}), CommandLine::kFailure);
    EXPECT_EQ(err.str(), text::TextToUtf8("TovrikOcr: 识别失败:aip.baidubce.com 没有应答!\n"));
}

// The service's own code and message, a reply that is not JSON and a service that takes too
// long are each told as what they are.
TEST_F(CommandLineRun, ServiceFailuresArePrintedAsTheStatusSaysThem) {
    settings.WriteItem("Service", "OcrBaseUrl", "http://127.0.0.1:8780");
    settings.WriteItem("Service", "YoudaoBaseUrl", "http://127.0.0.1:8781");
    web.Script(Reply(R"({"access_token":"t","expires_in":100})"));
    web.Script(Reply(R"({"error_code":17,"error_msg":"Open api daily request limit reached"})"));
    EXPECT_EQ(Run({"--recognize", picture}), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("error_code:17,error_msg:Open api daily request limit reached"));

    err.str("");
    web.Script(Reply("<html>Bad Gateway</html>", 502));
    EXPECT_EQ(Run({"--recognize", picture}), CommandLine::kFailure);
    EXPECT_EQ(err.str(), text::TextToUtf8("TovrikOcr: 识别失败:127.0.0.1:8780 的应答不是JSON!\n"));

    err.str("");
    web.Script(Failed(net::HttpFailure::TimedOut));
    EXPECT_EQ(Run({"--translate", "hello"}), CommandLine::kFailure);
    EXPECT_EQ(err.str(), text::TextToUtf8("TovrikOcr: 翻译失败:127.0.0.1:8781 应答超时!\n"));
    EXPECT_EQ(out.str(), "");
}

TEST_F(CommandLineRun, MissingPictureFails) {
    EXPECT_EQ(Run({"--recognize", files::JoinPath(directory.Path(), "none.png")}), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("cannot read the picture file"));
    EXPECT_TRUE(web.Requests().empty());
}

// The check the program runs on a file's bytes, in small: "PNG" pictures of the size the
// bytes after it state.
PictureVerdict CheckForTests(BytesView bytes) {
    PictureVerdict verdict;
    verdict.isPicture = bytes.starts_with("PNG");
    verdict.maxPixels = 100;
    if (bytes.starts_with("PNG ") && bytes.size() > 4) {
        verdict.width = verdict.height = std::stoull(Text(bytes.substr(4)));
        verdict.tooLarge = verdict.width * verdict.height > verdict.maxPixels;
    }
    return verdict;
}

struct CheckedCommandLineRun : CommandLineRun {
    CommandLine checked{directory.Path(), out, err, CheckForTests};
    services::RecognitionService checkedService{directory.Path(),
                                                {.webTransport = web,
                                                 .comTransport = com,
                                                 .clock = clock,
                                                 .keys = checked.Keys(),
                                                 .status = checked.Status(),
                                                 .audio = audio,
                                                 .toJpeg = [](BytesView image) { return Bytes(image); }}};

    [[nodiscard]] int RunChecked(const Text& file) { return checked.Run(checkedService, {"--recognize", file}); }
};

TEST_F(CheckedCommandLineRun, FilesThatAreNoPicturesAreRefusedLocally) {
    const Text text = files::JoinPath(directory.Path(), "notes.png");
    ASSERT_TRUE(files::WriteFile(text, "shopping list"));
    EXPECT_EQ(RunChecked(text), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("notes.png is not a picture (JPEG, PNG, BMP, GIF or TIFF); nothing was sent"));

    const Text huge = files::JoinPath(directory.Path(), "huge.png");
    ASSERT_TRUE(files::WriteFile(huge, "PNG 16000"));
    EXPECT_EQ(RunChecked(huge), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("huge.png is too large: 16000 x 16000 pixels, more than the 100 that are read"));

    EXPECT_EQ(RunChecked(directory.Path()), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("is not a picture: only regular files are read"));

    const Text empty = files::JoinPath(directory.Path(), "empty.png");
    ASSERT_TRUE(files::WriteFile(empty, ""));
    EXPECT_EQ(RunChecked(empty), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("empty.png is empty"));

    EXPECT_TRUE(web.Requests().empty()) << "not even a token request";
    EXPECT_EQ(out.str(), "");
}

TEST_F(CheckedCommandLineRun, PicturesWithinTheLimitGoToTheService) {
    web.Script(Reply(R"({"access_token":"t","expires_in":100})"));
    web.Script(Reply(R"({"words_result":[{"words":"ok"}]})"));
    const Text small = files::JoinPath(directory.Path(), "small.png");
    ASSERT_TRUE(files::WriteFile(small, "PNG 10"));
    EXPECT_EQ(RunChecked(small), 0) << err.str();
    EXPECT_EQ(out.str(), "ok\n");
}

TEST_F(CommandLineRun, NothingRecognisedFails) {
    settings.WriteItem("OCR", "AccessToken", "cached");
    settings.WriteItem("OCR", "GetTime", settings::TimestampText(clock));
    settings.WriteItem("OCR", "ExpiresTime", "100");
    web.Script(Reply(R"({"words_result":[]})"));
    EXPECT_EQ(Run({"--recognize", picture}), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("no text recognised"));
}

TEST_F(CommandLineRun, TranslationWithoutResultFails) {
    web.Script(Reply("errorCode=50"));
    EXPECT_EQ(Run({"--translate", "hello"}), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr(text::TextToUtf8("翻译失败:errorCode=50")));
    err.str("");
    web.Script(Reply("result="));
    EXPECT_EQ(Run({"--translate", "hello"}), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("no translation"));
}

TEST_F(CommandLineRun, SpeaksAndWaitsForTheEnd) {
    web.Script(Reply("mp3"));
    EXPECT_EQ(Run({"--speak", "hello"}), 0) << err.str();
    EXPECT_THAT(audio.Commands(), ::testing::Contains("play Baidu wait"));
    EXPECT_EQ(out.str(), "");
}

TEST_F(CommandLineRun, SpeechWithoutAudioFails) {
    web.FailToOpen();
    EXPECT_EQ(Run({"--speak", "hello"}), CommandLine::kFailure);
    EXPECT_THAT(err.str(), HasSubstr("no playable audio came from the speech service"));
}

TEST_F(CommandLineRun, BadArgumentsPrintTheUsage) {
    EXPECT_EQ(Run({"--frobnicate"}), CommandLine::kUsageError);
    EXPECT_THAT(err.str(), HasSubstr("Usage: TovrikOcr"));
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("Usage: TovrikOcr"));
}

} // namespace
} // namespace tovrik::servicetest
