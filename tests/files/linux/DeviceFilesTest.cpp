// Files that are not regular ones: never waited on when read, never removed when written.
#include "files/Files.h"

#include "util/TempDir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace tovrik::files {
namespace {

TEST(DeviceFiles, ANamedPipeWithoutWriterIsRefusedAtOnce) {
    const testing::TempDir temp;
    const Text fifo = JoinPath(temp.Path(), "pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A blocking open would wait here for ever: the test would hang rather than fail.
    EXPECT_EQ(ReadFile(fifo), std::nullopt);
    EXPECT_EQ(ReadFileHead(fifo, 16), std::nullopt);
    EXPECT_EQ(ReadFile("/dev/zero", 1 << 20), std::nullopt) << "an endless device";
    EXPECT_EQ(ReadFileHead("/dev/urandom", 16), std::nullopt);
}

TEST(DeviceFiles, AFailedWriteRemovesTheFileButNeverADevice) {
    // /dev/full takes the open and fails every write with "no space left", as a full disk does.
    EXPECT_FALSE(WriteFile("/dev/full", "capture bytes"));
    struct stat info {};
    ASSERT_EQ(::stat("/dev/full", &info), 0) << "the device is still there";
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

} // namespace
} // namespace tovrik::files
