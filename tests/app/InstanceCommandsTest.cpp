#include "ShellFixture.h"

#include "app/InstanceCommand.h"

#include <algorithm>
#include <vector>

namespace tovrik::app {
namespace {

TEST(InstanceCommandTest, WordsAndTriggerFlagsRoundTrip) {
    for (const InstanceCommand command :
         {InstanceCommand::CaptureToFile, InstanceCommand::CaptureAndCopy, InstanceCommand::CaptureAndTranslate,
          InstanceCommand::SelfTranslate, InstanceCommand::ShowSettings, InstanceCommand::SecondStart}) {
        EXPECT_EQ(CommandFromWord(CommandWord(command)), command) << CommandWord(command);
    }
    EXPECT_EQ(CommandFromFlag("--capture-to-file"), InstanceCommand::CaptureToFile);
    EXPECT_EQ(CommandFromFlag("--capture-and-translate"), InstanceCommand::CaptureAndTranslate);
    EXPECT_EQ(CommandFromFlag("--show-settings"), InstanceCommand::ShowSettings);
    // Only the program itself says it was started twice.
    EXPECT_EQ(CommandFromFlag("--second-start"), std::nullopt);
    EXPECT_EQ(CommandFromFlag("capture-to-file"), std::nullopt);
    EXPECT_EQ(CommandFromFlag("--recognize"), std::nullopt);
    EXPECT_EQ(CommandFromWord(""), std::nullopt);
}

// The shell with recording commands behind the hotkeys.
class InstanceCommandsTest : public ShellFixture {
protected:
    InstanceCommandsTest() {
        m_app.SetCommands({
            .captureToFile = [this] { m_ran.push_back("file"); },
            .captureAndCopy = [this] { m_ran.push_back("copy"); },
            .selfTranslate = [this] { m_ran.push_back("self"); },
            .captureAndTranslate = [this] { m_ran.push_back("translate"); },
            .showMainWindow = {},
            .setServiceKeys = {},
        });
        WriteSettings(kDefaultSettings); // not a first run: the window starts hidden
    }

    std::vector<Text> m_ran;
};

TEST_F(InstanceCommandsTest, EachCommandOfAnotherCopyRunsWhatItsHotkeyRuns) {
    m_app.Start();
    ASSERT_TRUE(m_fake.instance.Deliver(InstanceCommand::CaptureToFile));
    ASSERT_TRUE(m_fake.instance.Deliver(InstanceCommand::CaptureAndCopy));
    ASSERT_TRUE(m_fake.instance.Deliver(InstanceCommand::CaptureAndTranslate));
    ASSERT_TRUE(m_fake.instance.Deliver(InstanceCommand::SelfTranslate));
    EXPECT_EQ(m_ran, (std::vector<Text>{"file", "copy", "translate", "self"}));
    EXPECT_FALSE(WindowShown());
}

TEST_F(InstanceCommandsTest, ShowSettingsAndASecondStartBringTheWindowForward) {
    m_app.Start();
    for (const InstanceCommand command : {InstanceCommand::ShowSettings, InstanceCommand::SecondStart}) {
        m_app.SettingsForm().SetState(ui::WindowState::Minimised);
        m_app.SettingsForm().Hide();
        m_fake.journal.Clear();
        ASSERT_TRUE(m_fake.instance.Deliver(command));
        EXPECT_TRUE(WindowShown()) << CommandWord(command);
        EXPECT_EQ(m_app.SettingsForm().State(), ui::WindowState::Normal);
        const auto& entries = m_fake.journal.Entries();
        EXPECT_NE(std::ranges::find(entries, Text("Activate 设置窗口")), entries.end()) << CommandWord(command);
    }
    EXPECT_TRUE(m_ran.empty());
}

TEST_F(InstanceCommandsTest, ATriggerThatStartedTheProgramRunsItsCommandOnceStartUpIsDone) {
    m_app.SetStartCommand(InstanceCommand::CaptureAndTranslate);
    m_app.Start();
    EXPECT_EQ(m_ran, (std::vector<Text>{"translate"}));
    EXPECT_TRUE(m_fake.tray.HasIcon()) << "start-up went through first";
    EXPECT_EQ(Control("透明标签_热键提示").text, "热键设置完毕!");
    EXPECT_TRUE(m_fake.process.ExitCodes().empty());
}

TEST_F(InstanceCommandsTest, ATriggerThatLostTheStartHandsItsCommandOverSilently) {
    m_fake.instance.HeldByAnotherProcess("TV_OCR_$$");
    m_app.SetStartCommand(InstanceCommand::CaptureToFile);
    m_app.Start();
    EXPECT_EQ(m_fake.instance.Sent(), (std::vector{InstanceCommand::CaptureToFile}));
    EXPECT_TRUE(m_fake.windows.Messages().empty());
    EXPECT_EQ(m_fake.process.ExitCodes(), (std::vector<int>{0}));
    EXPECT_TRUE(m_ran.empty());
}

TEST_F(InstanceCommandsTest, ACopyThatTakesNoCommandsStillGetsTheMessageOfASecondStart) {
    m_fake.instance.HeldByAnotherProcess("TV_OCR_$$");
    m_fake.instance.OtherProcessDeaf();
    m_app.SetStartCommand(InstanceCommand::CaptureToFile);
    m_app.Start();
    ASSERT_EQ(m_fake.windows.Messages().size(), 1u);
    EXPECT_EQ(m_fake.windows.Messages()[0].text, "托维OCR设置程序已在运行!");
    EXPECT_EQ(m_fake.process.ExitCodes(), (std::vector<int>{0}));
}

TEST_F(InstanceCommandsTest, NothingRunsOnceTheExitIsUnderWay) {
    m_app.Start();
    m_app.RequestExit();
    static_cast<void>(m_fake.instance.Deliver(InstanceCommand::CaptureToFile));
    static_cast<void>(m_fake.instance.Deliver(InstanceCommand::ShowSettings));
    EXPECT_TRUE(m_ran.empty());
}

} // namespace
} // namespace tovrik::app
