#include "ServiceHarness.h"
#include "files/Files.h"
#include "services/MciCommand.h"
#include "services/SpeechCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tovrik::servicetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

[[nodiscard]] Text LanguageOf(const net::HttpRequest& request) {
    const std::size_t start = request.url.find("lan=") + 4;
    return request.url.substr(start, request.url.find('&', start) - start);
}

TEST(Speak, ChineseCharacterChoosesZhAsciiChoosesEn) {
    ServiceHarness h;
    h.service.Speak("hello 世界");
    h.service.Speak("hello world");
    ASSERT_EQ(h.web.Requests().size(), 2u);
    EXPECT_EQ(LanguageOf(h.web.Requests()[0]), "zh");
    EXPECT_EQ(LanguageOf(h.web.Requests()[1]), "en");
    EXPECT_EQ(AddressOf(h.web.Requests()[1]),
              "https://fanyi.baidu.com/gettts?lan=en&text=hello+world&spd=5&source=web");
    EXPECT_EQ(h.web.Requests()[1].verb, "GET");
}

TEST(Speak, DownloadsIntoTheProgramDirectoryAndPlaysThroughTheAlias) {
    ServiceHarness h;
    h.web.Script(Reply("ID3 fake mp3 bytes"));

    h.service.Speak("hi");

    const Text path = files::JoinPath(h.directory.Path(), "tts.mp3");
    EXPECT_THAT(h.audio.Commands(),
                ElementsAre("close Baidu", "close Baidu", "open \"" + path + "\" alias Baidu", "play Baidu"));
    EXPECT_EQ(h.audio.OpenedFile(), Bytes("ID3 fake mp3 bytes"));
}

TEST(Speak, SecondCallClosesTheFirstPlaybackBeforeOpening) {
    ServiceHarness h;
    h.web.Script(Reply("first"));
    h.web.Script(Reply("second"));
    h.service.Speak("one");
    h.audio.ClearCommands();

    h.service.Speak("two");

    ASSERT_EQ(h.audio.Commands().size(), 4u);
    EXPECT_EQ(h.audio.Commands()[0], "close Baidu");
    EXPECT_THAT(h.audio.Commands()[2], HasSubstr("open "));
    EXPECT_EQ(h.audio.OpenedFile(), Bytes("second"));
}

TEST(Speak, FailedDownloadPlaysNothing) {
    ServiceHarness h;
    h.web.FailToOpen();
    h.service.Speak("hi");
    EXPECT_FALSE(h.audio.IsOpen());
    EXPECT_NE(h.service.WaitForSpeech(), 0u);
}

TEST(Speak, EmptyTextIsStillRequested) {
    ServiceHarness h;
    h.service.Speak("");
    ASSERT_EQ(h.web.Requests().size(), 1u);
    EXPECT_THAT(h.web.LastRequest().url, HasSubstr("?lan=en&text=&spd=5"));
}

TEST(Speak, WaitingPlaysToTheEndAndReleasesTheDevice) {
    ServiceHarness h;
    h.web.Script(Reply("audio"));
    h.service.Speak("hi");
    h.audio.ClearCommands();
    EXPECT_EQ(h.service.WaitForSpeech(), 0u);
    EXPECT_THAT(h.audio.Commands(), ElementsAre("play Baidu wait", "close Baidu"));
    EXPECT_FALSE(h.audio.IsOpen());
}

TEST(SpeechCommands, DoubleByteLeadBytes) {
    EXPECT_TRUE(services::HasDoubleByteChar("abc中"));
    EXPECT_TRUE(services::HasDoubleByteChar("\x81\x40"));
    EXPECT_FALSE(services::HasDoubleByteChar("plain ASCII ~\x7f"));
    EXPECT_FALSE(services::HasDoubleByteChar(""));
}

TEST(SpeechCommands, PlaySoundWithWait) {
    fakes::FakeAudioPlayer player;
    EXPECT_FALSE(services::PlaySound(player, "missing.mp3", "A", true));
    EXPECT_THAT(player.Commands(), ElementsAre("close A", "open \"missing.mp3\" alias A", "play A wait"));
    EXPECT_FALSE(services::CloseSound(player, "A"));
}

TEST(MciCommand, SplitsVerbQuotedPathAliasAndWait) {
    const auto open = services::ParseMciCommand("OPEN \"C:\\程序 目录\\tts.mp3\" Alias Baidu");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->verb, "open");
    EXPECT_EQ(open->device, "C:\\程序 目录\\tts.mp3");
    EXPECT_EQ(open->alias, "Baidu");
    EXPECT_FALSE(open->wait);

    const auto play = services::ParseMciCommand("play  Baidu wait");
    ASSERT_TRUE(play);
    EXPECT_EQ(play->device, "Baidu");
    EXPECT_TRUE(play->wait);
}

TEST(MciCommand, RejectsMalformedCommands) {
    EXPECT_FALSE(services::ParseMciCommand(""));
    EXPECT_FALSE(services::ParseMciCommand("play"));
    EXPECT_FALSE(services::ParseMciCommand("open \"unterminated alias A"));
    EXPECT_FALSE(services::ParseMciCommand("open x alias"));
    EXPECT_FALSE(services::ParseMciCommand("play A loudly"));
}

} // namespace
} // namespace tovrik::servicetest
