#include "app/Restart.h"

#include "app/Autostart.h"
#include "fakes/FakeProcessControl.h"

#include <gtest/gtest.h>

namespace tovrik::app {
namespace {

TEST(RestartTest, TheBatchFileWaitsStartsTheShortPathAndDeletesItself) {
    EXPECT_EQ(RestartBatchText("C:\\PROGRA~1\\TOVRIK~1\\TOVRIK~1.EXE", 1),
              "@echo off \r\n"
              "@ping 127.0.0.1 -n 1 >nul\r\n"
              "start \"\" \"C:\\PROGRA~1\\TOVRIK~1\\TOVRIK~1.EXE\"\r\n"
              "del Restart.bat");
    EXPECT_NE(RestartBatchText("D:\\a.exe", 12).find("\r\n@ping 127.0.0.1 -n 12 >nul\r\n"), Text::npos);
}

TEST(RestartTest, AMissingOrTooSmallWaitCountIsTwo) {
    EXPECT_EQ(RestartWaitCount(std::nullopt), 2);
    EXPECT_EQ(RestartWaitCount(0), 2);
    EXPECT_EQ(RestartWaitCount(-5), 2);
    EXPECT_EQ(RestartWaitCount(1), 1);
    EXPECT_EQ(RestartWaitCount(7), 7);
}

TEST(RestartTest, RestartRelaunchesTheExecutableThenEnds) {
    fakes::FakeProcessControl process;
    Restart(process, "/opt/tovrik");
    ASSERT_EQ(process.Relaunches().size(), 1u);
    EXPECT_EQ(process.Relaunches()[0].programDirectory, "/opt/tovrik");
    EXPECT_EQ(process.Relaunches()[0].executable, ExecutablePath());
    EXPECT_EQ(process.Relaunches()[0].waitCount, 2);
    EXPECT_EQ(process.ExitCodes(), (std::vector<int>{0}));
}

TEST(RestartTest, AProgramThatCouldNotBeStartedAgainKeepsRunning) {
    fakes::FakeProcessControl process;
    process.FailRelaunch();
    Restart(process, "/opt/tovrik", 1);
    EXPECT_EQ(process.Relaunches().size(), 1u);
    EXPECT_TRUE(process.ExitCodes().empty());
}

} // namespace
} // namespace tovrik::app
