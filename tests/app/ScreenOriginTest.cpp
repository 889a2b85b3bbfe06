// The settings window's status strip names where the screen pictures come from when the
// desktop has a choice of sources (Wayland), read from the screen port at start-up.
#include "ProgramFixture.h"

#include <string>
#include <tuple>

namespace tovrik::app {
namespace {

class ScreenOriginTest : public ProgramFixture,
                         public ::testing::WithParamInterface<std::tuple<capture::ScreenOrigin, const char*>> {
protected:
    void WriteSettingsFile() override {
        // Chosen by the screen backend when it is made, before the program starts.
        m_screen.origin = std::get<0>(GetParam());
        ProgramFixture::WriteSettingsFile();
    }
};

TEST_P(ScreenOriginTest, TheLastPaneOfTheStatusStripNamesTheSource) {
    EXPECT_EQ(m_program.App().SettingsForm().GetText("状态_文本4"), Text(std::get<1>(GetParam())));
    // The rest of the strip and the hint line are the usual ones.
    EXPECT_EQ(m_program.App().SettingsForm().GetText("状态_文本2"), "初始化热键完毕");
    EXPECT_EQ(m_program.App().SettingsForm().GetText("透明标签_热键提示"), "热键设置完毕!");
}

// Test names from the source each case sets.
std::string SourceName(const ::testing::TestParamInfo<ScreenOriginTest::ParamType>& info) {
    static const char* const names[] = {"WindowSystem", "Screencopy", "ScreenshotPortal"};
    return names[static_cast<int>(std::get<0>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Sources, ScreenOriginTest,
                         ::testing::Values(std::make_tuple(capture::ScreenOrigin::WindowSystem, "欢迎使用"),
                                           std::make_tuple(capture::ScreenOrigin::Screencopy, "截屏：wlr-screencopy"),
                                           std::make_tuple(capture::ScreenOrigin::ScreenshotPortal, "截屏：截图门户")),
                         SourceName);

} // namespace
} // namespace tovrik::app
