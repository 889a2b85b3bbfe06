#include "services/win32/MciPlayer.h"
#include "../ServiceHarness.h"
#include "files/Files.h"

#include <gtest/gtest.h>

namespace tovrik::servicetest {
namespace {

// MCI's own answers come through unchanged: errors for what cannot work, and no hang on a
// machine without sound.
TEST(MciPlayer, PassesCommandsToMciAndReturnsItsAnswers) {
    services::MciPlayer player;
    EXPECT_NE(player.SendCommand("close TovrikTestAlias"), 0u);
    TempDirectory directory;
    const Text missing = files::JoinPath(directory.Path(), "missing.mp3");
    EXPECT_NE(player.SendCommand("open \"" + missing + "\" alias TovrikTestAlias"), 0u);
    EXPECT_NE(player.SendCommand("play TovrikTestAlias"), 0u);
}

} // namespace
} // namespace tovrik::servicetest
