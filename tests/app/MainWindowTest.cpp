#include "ProgramFixture.h"

#include "app/DonationPicture.h"
#include "app/MainWindow.h"
#include "capture/ImageCodec.h"
#include "capture/ImageFile.h"

#include <gmock/gmock.h>

namespace tovrik::app {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr unsigned kModControl = 0x0002;
constexpr int kF10 = 121;

class MainWindowTest : public ProgramFixture {
protected:
    void ShowWindow() {
        m_program.Commands().ShowMainWindow(false);
        ASSERT_NE(MainId(), 0u);
    }
    void Click(TextView control) { ASSERT_TRUE(m_fake.windows.Click(MainId(), control)); }
    [[nodiscard]] Text WritePng(TextView name) {
        ui::Bitmap bitmap{.width = 4, .height = 3, .pixels = ui::PixelBytes(4 * 3 * 4, 0x80)};
        const auto png = capture::EncodeBitmap(bitmap, capture::ImageFormat::Png);
        const Text path = files::JoinPath(m_dir.Path(), name);
        EXPECT_TRUE(png.has_value() && files::WriteFile(path, *png));
        return path;
    }
};

TEST_F(MainWindowTest, ShortcutLabelsShowTheHotkeysOncePerLoad) {
    ShowWindow();
    EXPECT_EQ(MainText("标签_截图快捷键"), "截图存文件快捷键:Ctrl+F8 (或点击执行)");
    EXPECT_EQ(MainText("标签_截图复制"), "截图复制快捷键:Ctrl+F9 (或点击执行)");
    EXPECT_EQ(MainText("标签_翻译"), "(自定)翻译快捷键:Ctrl+F10 (或点击执行)");
    EXPECT_EQ(MainText("标签_截图翻译"), "截图翻译快捷键:Ctrl+F11 (或点击执行)");

    // Showing again appends nothing; closing and loading again builds them anew.
    ShowWindow();
    ASSERT_TRUE(m_fake.windows.CloseBox(MainId()));
    ShowWindow();
    EXPECT_EQ(MainText("标签_截图复制"), "截图复制快捷键:Ctrl+F9 (或点击执行)");
}

TEST_F(MainWindowTest, RecogniseWithoutAUsablePictureAsksNothing) {
    ShowWindow();
    for (const Bytes& picture : {Bytes(), Bytes("x"), Bytes(kMaxRecognisedBytes, 'x')}) {
        m_program.MainForm().SetPicture("图片框1", picture);
        m_program.MainForm().SetText("透明标签_执行状态", "");
        Click("按钮_识别文字");
        EXPECT_EQ(Status(), kNoPicture) << picture.size();
    }
    EXPECT_EQ(RecognitionRequests(), 0);
}

TEST_F(MainWindowTest, RecogniseSendsThePictureOfThePictureBox) {
    ShowWindow();
    m_program.MainForm().SetPicture("图片框1", "PICTURE-BYTES");
    ScriptRecognition(R"({"words":"第一行"},{"words":"two"})");

    Click("按钮_识别文字");

    EXPECT_EQ(RecognitionRequests(), 1);
    EXPECT_EQ(MainText("编辑框_OCR"), "第一行\r\ntwo\r\n");
    EXPECT_EQ(m_program.Commands().CurrentPicture(), "PICTURE-BYTES");
}

TEST_F(MainWindowTest, TranslateWithoutTextShowsTheMessageTwice) {
    ShowWindow();
    Click("按钮_翻译");
    EXPECT_EQ(Status(), kNothingToTranslate);
    EXPECT_EQ(MainText("编辑框_翻译结果"), kNothingToTranslate);
    EXPECT_TRUE(m_web.Requests().empty());
}

TEST_F(MainWindowTest, TranslateAndReadAloud) {
    ShowWindow();
    m_program.MainForm().SetText("编辑框_OCR", "hello\r\n");
    m_web.Script({true, 200, {}, text::TextToUtf8("errorCode=0\r\nresult=你好")});

    ASSERT_TRUE(m_fake.windows.Click(MainId(), "标签_翻译"));
    EXPECT_EQ(MainText("编辑框_翻译结果"), "你好\r\n");
    EXPECT_THAT(m_web.LastRequest().path, HasSubstr("/translate?i=hello"));

    m_web.Script({true, 200, {}, "ID3-audio"});
    Click("按钮_朗读");
    EXPECT_THAT(m_web.LastRequest().path, HasSubstr("/gettts?lan=zh"));
    EXPECT_EQ(m_audio.OpenedFile(), Bytes("ID3-audio"));
}

TEST_F(MainWindowTest, DroppedPngIsShownAndRecognised) {
    const Text png = WritePng("shot.png");
    ShowWindow();
    ScriptRecognition(R"({"words":"dropped"})");

    m_fake.windows.DropFiles(MainId(), {png});

    const Bytes bytes = *files::ReadFile(png);
    EXPECT_EQ(m_program.MainForm().GetPicture("图片框1"), bytes);
    EXPECT_EQ(m_program.Commands().CurrentPicture(), bytes);
    EXPECT_EQ(RecognitionRequests(), 1);
    EXPECT_EQ(MainText("编辑框_OCR"), "dropped\r\n");
}

TEST_F(MainWindowTest, DroppedTextFileIsIgnored) {
    const Text path = files::JoinPath(m_dir.Path(), "notes.png");
    ASSERT_TRUE(files::WriteFile(path, "plain text, whatever the name says"));
    ShowWindow();
    m_program.MainForm().SetPicture("图片框1", "KEPT");

    m_fake.windows.DropFiles(MainId(), {path});

    EXPECT_EQ(m_program.MainForm().GetPicture("图片框1"), "KEPT");
    EXPECT_TRUE(m_web.Requests().empty());
    EXPECT_EQ(Status(), "把图片拖放到窗口即可自动识别");
}

TEST_F(MainWindowTest, DroppedPictureOverThePixelLimitIsRefusedWithItsSize) {
    const Text path = files::JoinPath(m_dir.Path(), "huge.png");
    // A PNG header claiming 16000 x 16000 pixels.
    ASSERT_TRUE(files::WriteFile(path, Bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x3e\x80\0\0\x3e\x80\x08\x06\0\0\0", 29)));
    ShowWindow();
    m_program.MainForm().SetPicture("图片框1", "KEPT");

    m_fake.windows.DropFiles(MainId(), {path});

    EXPECT_EQ(m_program.MainForm().GetPicture("图片框1"), "KEPT");
    EXPECT_TRUE(m_web.Requests().empty());
    EXPECT_EQ(Status(), "图片太大: 16000 x 16000 像素, 最多 100000000 像素");
}

TEST_F(MainWindowTest, DoubleClickRevealsTheFileTheStatusNames) {
    ShowWindow();
    m_program.Commands().ShowStatus("[双击查看截图] D:\\tool\\截图\\a.png");
    ASSERT_TRUE(m_fake.windows.DoubleClick(MainId(), "透明标签_执行状态"));
    m_program.Commands().ShowStatus("[双击查看截图] /home/u/截图/1607321234.png");
    ASSERT_TRUE(m_fake.windows.DoubleClick(MainId(), "图片框1"));
    m_program.Commands().ShowStatus("完成截图并复制到剪贴板");
    ASSERT_TRUE(m_fake.windows.DoubleClick(MainId(), "透明标签_执行状态"));

    EXPECT_THAT(m_fake.shell.RevealedFiles(), ElementsAre("D:\\tool\\截图\\a.png", "/home/u/截图/1607321234.png"));
}

TEST(RevealedPath, TakesTheDriveBeforeTheFirstMarkAndTheRestAfterTheLast) {
    EXPECT_EQ(RevealedPath("x C:\\a\\D:\\b.png"), "C:\\b.png");
    EXPECT_EQ(RevealedPath(":\\at the start"), "");
    EXPECT_EQ(RevealedPath("[双击查看截图] relative/a.png"), "");
    EXPECT_EQ(RevealedPath("截图失败!"), "");
}

TEST_F(MainWindowTest, CopyButtonsAndScreenshotFolder) {
    ShowWindow();
    m_program.MainForm().SetText("编辑框_OCR", "ocr text");
    m_program.MainForm().SetText("编辑框_翻译结果", "translation");
    Click("按钮_复制识别");
    EXPECT_EQ(m_clipboard.text, "ocr text");
    Click("按钮_复制翻译");
    EXPECT_EQ(m_clipboard.text, "translation");
    Click("按钮_打开截图目录");
    EXPECT_THAT(m_fake.shell.OpenedFolders(), ElementsAre(ScreenshotDir()));
}

TEST_F(MainWindowTest, DonationDialogShowsOurPicture) {
    ShowWindow();
    Bytes shown;
    m_fake.windows.WhileModal([&](ui::FormId form) {
        shown = m_fake.windows.ControlState(form, "图片框1").picture;
        EXPECT_EQ(m_fake.windows.FormState(form).declaration.caption, "感谢支持托维");
    });
    Click("按钮_赞赏");
    EXPECT_EQ(shown, DonationPicture());
    EXPECT_EQ(capture::ImageTypeOfBytes(shown), "JPEG");
    EXPECT_TRUE(capture::DecodeImageBytes(shown).has_value());
}

TEST_F(MainWindowTest, SelfTranslationHotkeyTranslatesTheWindowsText) {
    ShowWindow();
    m_program.MainForm().SetText("编辑框_OCR", "cat");
    m_web.Script({true, 200, {}, text::TextToUtf8("result=猫")});
    const auto holder = m_fake.hotkeys.Holder(kModControl, kF10);
    ASSERT_TRUE(holder.has_value());

    m_fake.windows.FireHotkey(holder->owner, holder->id);

    EXPECT_EQ(MainText("编辑框_翻译结果"), "猫\r\n");
    EXPECT_EQ(Status(), "完成自定义翻译");
    EXPECT_THAT(m_fake.shell.RevealedFiles(), IsEmpty());
}

} // namespace
} // namespace tovrik::app
