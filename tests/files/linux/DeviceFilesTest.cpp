// Files that are not regular ones: never waited on when read, never removed when written.
#include "files/Files.h"

#include "util/TempDir.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

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

// A file-size limit stands in for a full disk: the write stops part-way, as it would with no
// space left, and what was written must not stay behind as if it were the whole file.
TEST(DeviceFiles, AWriteCutShortLeavesNoFileBehind) {
    const testing::TempDir temp;
    const Text file = JoinPath(temp.Path(), "1607321234.png");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = WriteFile(file, Bytes(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(FileExists(file)) << "no cut-short file";
    EXPECT_TRUE(WriteFile(file, Bytes(64 * 1024, 'x'))) << "and writes work again";
}

} // namespace
} // namespace tovrik::files
