#include "ProgramFixture.h"

#include "app/CaptureCommands.h"
#include "capture/ImageCodec.h"
#include "capture/ImageFile.h"

#include <gmock/gmock.h>

namespace tovrik::app {
namespace {

using ::testing::HasSubstr;

class CaptureCommandsTest : public ProgramFixture {
protected:
    [[nodiscard]] Text ShotPath(TextView name) { return ScreenshotDir() + Text(name); }
    [[nodiscard]] Bytes MainPicture() { return m_program.MainForm().GetPicture("图片框1"); }
    void Check(TextView box, bool checked) { m_program.App().SettingsForm().SetChecked(box, checked); }
    [[nodiscard]] bool Visible(ui::Form& form) { return form.IsShown(); }
};

TEST_F(CaptureCommandsTest, CaptureToFileSavesAPngNamedByTheTimestamp) {
    m_program.Commands().SetCurrentPicture("CURRENT");
    SelectOnCapture(50, 10, 150, 50);

    m_program.Commands().CaptureToFile();

    const Text path = ShotPath("1607321234.png");
    ASSERT_TRUE(files::FileExists(path));
    EXPECT_EQ(Status(), Text(kSavedPrefix) + path);
    EXPECT_EQ(MainPicture(), *files::ReadFile(path));
    EXPECT_EQ(capture::ImageTypeOfBytes(MainPicture()), "PNG");
    EXPECT_TRUE(m_program.MainForm().IsShown());
    // The picture to recognise is not replaced by a capture to file.
    EXPECT_EQ(m_program.Commands().CurrentPicture(), "CURRENT");
    EXPECT_EQ(RecognitionRequests(), 0);
}

TEST_F(CaptureCommandsTest, CapturesInTheSameSecondGetSuffixes) {
    SelectOnCapture(50, 10, 150, 50);
    m_program.Commands().CaptureToFile();
    const Bytes first = *files::ReadFile(ShotPath("1607321234.png"));
    SelectOnCapture(300, 300, 310, 320);
    m_program.Commands().CaptureToFile();
    m_program.Commands().CaptureToFile();

    EXPECT_EQ(*files::ReadFile(ShotPath("1607321234.png")), first);
    ASSERT_TRUE(files::FileExists(ShotPath("1607321234_1.png")));
    EXPECT_NE(*files::ReadFile(ShotPath("1607321234_1.png")), first);
    EXPECT_TRUE(files::FileExists(ShotPath("1607321234_2.png")));
    EXPECT_EQ(Status(), Text(kSavedPrefix) + ShotPath("1607321234_2.png"));

    m_clock.Advance(1000);
    m_program.Commands().CaptureToFile();
    EXPECT_TRUE(files::FileExists(ShotPath("1607321235.png")));
}

TEST_F(CaptureCommandsTest, EscapeInCaptureToFileWritesNothing) {
    EscapeOnCapture();
    m_program.Commands().CaptureToFile();

    EXPECT_EQ(Status(), kCaptureFailed);
    EXPECT_TRUE(MainPicture().empty());
    EXPECT_TRUE(m_program.MainForm().IsShown());
    EXPECT_FALSE(files::FileExists(ShotPath("1607321234.png")));
}

// The screenshot folder cannot be made: a file stands where it belongs.
class BlockedFolderTest : public CaptureCommandsTest {
protected:
    void WriteSettingsFile() override {
        CaptureCommandsTest::WriteSettingsFile();
        ASSERT_TRUE(files::WriteFile(files::JoinPath(m_dir.Path(), "截图"), "not a folder"));
    }
};

TEST_F(BlockedFolderTest, FailedWriteIsReportedAsAFailedCapture) {
    SelectOnCapture(50, 10, 150, 50);
    m_program.Commands().CaptureToFile();

    EXPECT_EQ(Status(), kCaptureFailed);
    // The capture itself is still shown.
    EXPECT_EQ(capture::ImageTypeOfBytes(MainPicture()), "BMP");
}

TEST_F(CaptureCommandsTest, CaptureAndCopyPutsTheSelectionOnTheClipboard) {
    SelectOnCapture(50, 10, 150, 50);
    m_program.Commands().CaptureAndCopy();

    EXPECT_EQ(Status(), kCopied);
    ASSERT_TRUE(m_clipboard.image.has_value());
    const auto shown = capture::DecodeImageBytes(MainPicture());
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->width, m_clipboard.image->width);
    EXPECT_EQ(shown->height, m_clipboard.image->height);
    EXPECT_GT(shown->width, 90);
    EXPECT_EQ(RecognitionRequests(), 0);
}

TEST_F(CaptureCommandsTest, EscapeInCaptureAndCopyLeavesTheClipboard) {
    EscapeOnCapture();
    m_program.Commands().CaptureAndCopy();
    EXPECT_EQ(Status(), kCopyFailed);
    EXPECT_FALSE(m_clipboard.image.has_value());
    EXPECT_TRUE(MainPicture().empty());
}

TEST_F(CaptureCommandsTest, FirstCaptureAndTranslateRecognisesOnce) {
    ASSERT_FALSE(m_program.MainForm().IsLoaded());
    SelectOnCapture(50, 10, 150, 50);
    ScriptRecognition(R"({"words":"line"})");

    m_program.Commands().CaptureAndTranslate();

    EXPECT_EQ(RecognitionRequests(), 1);
    EXPECT_EQ(MainText("编辑框_OCR"), "line\r\n");
    EXPECT_EQ(MainText("编辑框_翻译结果"), "");
    EXPECT_FALSE(m_program.Commands().RecognisePending());
    EXPECT_TRUE(m_program.MainForm().IsShown());
    EXPECT_EQ(capture::ImageTypeOfBytes(MainPicture()), "BMP");
    EXPECT_EQ(MainPicture(), m_program.Commands().CurrentPicture());
    EXPECT_TRUE(m_clipboard.image.has_value());

    // Once loaded, the next one recognises once too.
    ScriptRecognition(R"({"words":"again"})");
    m_program.Commands().CaptureAndTranslate();
    EXPECT_EQ(RecognitionRequests(), 2);
    EXPECT_EQ(MainText("编辑框_OCR"), "again\r\n");
}

TEST_F(CaptureCommandsTest, AutomaticTranslationAndSpeechFollowTheCheckBoxes) {
    Check("选择框_自动翻译", true);
    Check("选择框_自动朗读", true);
    SelectOnCapture(50, 10, 150, 50);
    ScriptRecognition(R"({"words":"dog"})");
    m_web.Script({true, 200, {}, text::TextToUtf8("result=狗")});
    m_web.Script({true, 200, {}, "ID3-speech"});

    m_program.Commands().CaptureAndTranslate();

    EXPECT_EQ(MainText("编辑框_翻译结果"), "狗\r\n");
    ASSERT_EQ(m_web.Requests().size(), 3u);
    EXPECT_THAT(m_web.Requests()[1].path, HasSubstr("/translate?i=dog"));
    EXPECT_THAT(m_web.Requests()[2].path, HasSubstr("/gettts?"));
    EXPECT_EQ(m_audio.OpenedFile(), Bytes("ID3-speech"));
}

TEST_F(CaptureCommandsTest, CancelledCaptureAndTranslateShowsNothing) {
    Check("选择框_截图隐藏", true);
    EscapeOnCapture();
    m_program.Commands().CaptureAndTranslate();
    EXPECT_FALSE(m_program.MainForm().IsLoaded());
    EXPECT_FALSE(m_program.App().SettingsForm().IsShown());
    EXPECT_TRUE(m_web.Requests().empty());
}

TEST_F(CaptureCommandsTest, HideForCaptureFollowsItsCheckBox) {
    m_program.Commands().ShowMainWindow(false);
    bool settingsShown = false;
    bool mainShown = false;
    m_overlay.script = [&](fakes::FakeOverlayWindow& window) {
        settingsShown = m_program.App().SettingsForm().IsShown();
        mainShown = m_program.MainForm().IsShown();
        window.KeyUp(capture::CaptureOverlay::kKeyEscape);
    };

    Check("选择框_截图隐藏", true);
    m_program.Commands().CaptureAndCopy();
    EXPECT_FALSE(settingsShown);
    EXPECT_FALSE(mainShown);

    Check("选择框_截图隐藏", false);
    m_program.Commands().CaptureAndCopy();
    EXPECT_TRUE(settingsShown);
    EXPECT_TRUE(mainShown);
}

TEST_F(CaptureCommandsTest, TheFreezeWaitsAfterTheWindowsAreShownOrHidden) {
    m_program.Commands().ShowMainWindow(false);
    EscapeOnCapture();
    struct Seen {
        bool settingsShown;
        bool mainShown;
        int grabs;
    };
    std::vector<Seen> seen;
    m_settle.onAwait = [&] {
        seen.push_back({m_program.App().SettingsForm().IsShown(), m_program.MainForm().IsShown(), m_screen.grabCount});
    };

    Check("选择框_截图隐藏", false);
    m_program.Commands().CaptureToFile();
    Check("选择框_截图隐藏", true);
    m_program.Commands().CaptureAndTranslate();

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].settingsShown && seen[0].mainShown) << "shown before the wait";
    EXPECT_EQ(seen[0].grabs, 0) << "the screen is read after the wait";
    EXPECT_FALSE(seen[1].settingsShown || seen[1].mainShown) << "hidden before the wait";
    EXPECT_EQ(seen[1].grabs, 1);
}

TEST_F(CaptureCommandsTest, HotkeysAndTrayMenuRunTheCommands) {
    EscapeOnCapture();
    const auto holder = m_fake.hotkeys.Holder(0x0002, 119); // Ctrl+F8
    ASSERT_TRUE(holder.has_value());
    m_fake.windows.FireHotkey(holder->owner, holder->id);
    EXPECT_EQ(m_overlay.runCount, 1);
    EXPECT_EQ(Status(), kCaptureFailed);

    ASSERT_TRUE(m_fake.windows.Click(SettingsId(), "截图翻译"));
    EXPECT_EQ(m_overlay.runCount, 2);

    ASSERT_TRUE(m_fake.windows.CloseBox(MainId()));
    ASSERT_TRUE(m_fake.windows.Click(SettingsId(), "显示界面"));
    EXPECT_TRUE(m_program.MainForm().IsShown());
    EXPECT_EQ(RecognitionRequests(), 0);
}

} // namespace
} // namespace tovrik::app
