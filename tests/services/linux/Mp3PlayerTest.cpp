#include "services/linux/Mp3Player.h"
#include "../ServiceHarness.h"
#include "files/Files.h"
#include "services/MciCommand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tovrik::servicetest {
namespace {

using services::Mp3Player;

// MPEG-1 layer III frames of silence: 128 kbit/s, 44.1 kHz, mono, all-zero side information.
[[nodiscard]] Bytes SilentMp3(int frames) {
    Bytes frame("\xFF\xFB\x90\xC0", 4);
    frame.append(413, '\0');
    Bytes result;
    for (int i = 0; i < frames; ++i) {
        result += frame;
    }
    return result;
}

struct Mp3PlayerTest : ::testing::Test {
    TempDirectory directory;
    Mp3Player player;
    [[nodiscard]] Text Write(TextView name, BytesView bytes) const {
        const Text path = files::JoinPath(directory.Path(), name);
        EXPECT_TRUE(files::WriteFile(path, bytes));
        return path;
    }
};

TEST_F(Mp3PlayerTest, OpensAFileThatMayBeDeletedAfterwards) {
    const Text path = Write("tts.mp3", SilentMp3(20));
    EXPECT_EQ(player.SendCommand("open \"" + path + "\" alias Baidu"), 0u);
    EXPECT_TRUE(files::RemoveFile(path));
    EXPECT_EQ(player.SendCommand("play Baidu"), 0u);
    const unsigned waited = player.SendCommand("play BAIDU wait");
    EXPECT_TRUE(waited == 0 || waited == services::kMciHardware) << waited; // no sound device here
    EXPECT_EQ(player.SendCommand("close Baidu"), 0u);
    EXPECT_EQ(player.SendCommand("close Baidu"), services::kMciInvalidDeviceName);
}

TEST_F(Mp3PlayerTest, RefusesFilesThatAreNotMp3) {
    EXPECT_EQ(player.SendCommand("open \"" + Write("empty.mp3", "") + "\" alias A"), services::kMciFileNotFound);
    EXPECT_EQ(player.SendCommand("open \"" + Write("text.mp3", "plain text, no frames") + "\" alias A"),
              services::kMciFileNotFound);
    EXPECT_EQ(player.SendCommand("open \"" + files::JoinPath(directory.Path(), "none.mp3") + "\" alias A"),
              services::kMciFileNotFound);
    EXPECT_EQ(player.SendCommand("play A"), services::kMciInvalidDeviceName);
}

TEST_F(Mp3PlayerTest, AliasIsTakenUntilClosed) {
    const Text path = Write("a.mp3", SilentMp3(5));
    EXPECT_EQ(player.SendCommand("open \"" + path + "\" alias A"), 0u);
    EXPECT_EQ(player.SendCommand("open \"" + path + "\" alias a"), services::kMciDuplicateAlias);
    EXPECT_EQ(player.SendCommand("close A"), 0u);
    EXPECT_EQ(player.SendCommand("open \"" + path + "\" alias A"), 0u);
    EXPECT_EQ(player.SendCommand("seek A to start"), services::kMciUnrecognizedCommand);
}

TEST_F(Mp3PlayerTest, ClosingStopsALongPlaybackAndANewOneStarts) {
    // Two minutes of audio: closing must cut it off instead of waiting for its end.
    const Text longPath = Write("long.mp3", SilentMp3(4600));
    const Text shortPath = Write("short.mp3", SilentMp3(10));
    ASSERT_EQ(player.SendCommand("open \"" + longPath + "\" alias Baidu"), 0u);
    ASSERT_EQ(player.SendCommand("play Baidu"), 0u);
    EXPECT_EQ(player.SendCommand("close Baidu"), 0u);
    ASSERT_EQ(player.SendCommand("open \"" + shortPath + "\" alias Baidu"), 0u);
    EXPECT_EQ(player.SendCommand("play Baidu"), 0u);
}

// ALSA reads ~/.asoundrc once per process, so this runs in a fresh one with a null device.
TEST(Mp3PlayerDeathTest, PlaysToTheEndOnANullSoundDevice) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDirectory directory;
    const Text home = files::JoinPath(directory.Path(), "home");
    ASSERT_TRUE(files::CreateDirectories(home));
    std::ofstream(files::JoinPath(home, ".asoundrc")) << "pcm.!default { type null }\n";
    const Text path = files::JoinPath(directory.Path(), "tts.mp3");
    ASSERT_TRUE(files::WriteFile(path, SilentMp3(20)));
    EXPECT_EXIT(
        {
            setenv("HOME", home.c_str(), 1);
            Mp3Player player;
            const bool opened = player.SendCommand("open \"" + path + "\" alias Baidu") == 0;
            const bool played = opened && player.SendCommand("play Baidu wait") == 0;
            std::filesystem::remove_all(directory.Path()); // exit skips the destructors
            std::exit(played ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace tovrik::servicetest
