#include "ShellFixture.h"

#include "app/StatusPictures.h"

namespace tovrik::app {
namespace {

constexpr unsigned kCtrl = kModControl;

using ApplicationTest = ShellFixture;

TEST_F(ApplicationTest, FirstRunWritesTheDefaultFileAndShowsTheWindow) {
    m_app.Start();

    EXPECT_EQ(ReadSettings(), kDefaultSettings);
    EXPECT_TRUE(WindowShown());
    EXPECT_TRUE(m_fake.windows.DpiAware());
    for (const int key : {119, 120, 121, 122}) {
        EXPECT_TRUE(Holds(kCtrl, key)) << key;
    }
    EXPECT_EQ(m_fake.hotkeys.Active().size(), 4u);
    for (const char* status : {"状态_截图", "状态_截图并复制", "状态_自助翻译", "状态_截图并翻译"}) {
        EXPECT_EQ(Control(status).picture, OkPicture()) << status;
    }
    EXPECT_TRUE(Control("状态_延时截图").picture.empty());
    EXPECT_EQ(Control("透明标签_热键提示").text, "热键设置完毕!");
    EXPECT_TRUE(m_fake.windows.Messages().empty());
}

TEST_F(ApplicationTest, StartUpRunsInItsOrder) {
    m_app.Start();
    EXPECT_EQ(m_fake.journal.Entries(), (std::vector<Text>{
                                            "DeclareDpiAware",
                                            "CreateForm 设置窗口",
                                            "Acquire TV_OCR_$$",
                                            "SetRect 设置窗口",
                                            "Show 设置窗口", // first run
                                            "CaptureKeys 编辑框_截图",
                                            "CaptureKeys 编辑框_截屏并复制",
                                            "CaptureKeys 编辑框_自助翻译_3",
                                            "CaptureKeys 编辑框_截图并翻译",
                                            "HasEntry TovrikOcr",
                                            "Register 2+119",
                                            "Register 2+120",
                                            "Register 2+121",
                                            "Register 2+122",
                                            "AddIcon",
                                            "Sweep",
                                            "SetTip 双击调出设置页面,右键弹出操作菜单",
                                            "SetEnabled 按钮_申请key 1",
                                        }));
}

TEST_F(ApplicationTest, StartUpPreparesTheWindowFolderAndTrayIcon) {
    m_app.Start();

    EXPECT_EQ(m_app.SettingsForm().GetRect({}), (ui::Rect{50, 50, 477, 310}));
    EXPECT_EQ(m_app.ScreenshotDir(), files::JoinPath(m_dir.Path(), "截图") + files::PathSeparator());
    EXPECT_TRUE(files::DirectoryExists(m_app.ScreenshotDir()));
    EXPECT_TRUE(m_fake.tray.HasIcon());
    EXPECT_EQ(m_fake.tray.Owner(), Window());
    EXPECT_EQ(m_fake.tray.Tip(), "双击调出设置页面,右键弹出操作菜单");
    EXPECT_EQ(m_fake.tray.Sweeps(), (std::vector<bool>{false}));
    EXPECT_TRUE(Control("按钮_申请key").enabled);
    EXPECT_TRUE(m_fake.instance.Holds("TV_OCR_$$"));
}

TEST_F(ApplicationTest, WithAnExistingFileOnlyTheTrayIconShows) {
    const Text text = Text(kDefaultSettings) + "[OCR]\r\nAccessToken=24.abc\r\n";
    WriteSettings(text);
    m_app.Start();

    EXPECT_FALSE(WindowShown());
    EXPECT_TRUE(m_fake.tray.HasIcon());
    EXPECT_EQ(ReadSettings(), text);
    EXPECT_FALSE(Control("按钮_申请key").enabled); // a token is known
}

TEST_F(ApplicationTest, ASecondCopySaysSoAndEndsWithoutTouchingAnything) {
    m_fake.instance.HeldByAnotherProcess("TV_OCR_$$");
    m_app.Start();

    ASSERT_EQ(m_fake.windows.Messages().size(), 1u);
    const auto& message = m_fake.windows.Messages()[0];
    EXPECT_EQ(message.text, "托维OCR设置程序已在运行!");
    EXPECT_EQ(message.title, "友情提醒:");
    EXPECT_EQ(message.style.buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(message.owner, 0u);
    EXPECT_EQ(m_fake.process.ExitCodes(), (std::vector<int>{0}));

    EXPECT_EQ(m_fake.journal.Entries(),
              (std::vector<Text>{"DeclareDpiAware", "CreateForm 设置窗口", "Acquire TV_OCR_$$",
                                 "Send TV_OCR_$$ second-start", "ShowMessage 友情提醒:", "Exit 0"}));
    EXPECT_EQ(m_fake.instance.Sent(), (std::vector{InstanceCommand::SecondStart})) << "the running copy is told";
    EXPECT_FALSE(files::FileExists(SettingsPath()));
    EXPECT_FALSE(files::DirectoryExists(m_app.ScreenshotDir()));
    EXPECT_EQ(m_fake.tray.AddCount(), 0);
    EXPECT_TRUE(m_fake.tray.Sweeps().empty());
    EXPECT_TRUE(m_fake.hotkeys.Calls().empty());
    EXPECT_FALSE(WindowShown());
}

TEST_F(ApplicationTest, CloseBoxAndMinimiseOnlyHideTheWindow) {
    m_app.Start();
    ASSERT_TRUE(WindowShown());

    EXPECT_FALSE(m_fake.windows.CloseBox(Window()));
    EXPECT_TRUE(m_app.SettingsForm().IsLoaded());
    EXPECT_FALSE(WindowShown());

    m_fake.windows.FireTray(Window(), kTrayLeftDoubleClick);
    ASSERT_TRUE(WindowShown());
    m_fake.windows.Minimise(Window());
    EXPECT_FALSE(WindowShown());

    EXPECT_EQ(m_fake.hotkeys.Active().size(), 4u);
    EXPECT_TRUE(m_fake.tray.HasIcon());
    EXPECT_TRUE(m_fake.process.ExitCodes().empty());
}

TEST_F(ApplicationTest, ExitReleasesTheHotkeysAndTheIconAndEndsWithZero) {
    m_app.Start();
    m_fake.windows.FireTray(Window(), kTrayRightButtonDown);
    const ui::FormId window = Window();
    m_fake.journal.Clear();
    ASSERT_TRUE(m_fake.windows.Click(window, "退出程序"));

    EXPECT_EQ(m_fake.journal.Entries(),
              (std::vector<Text>{"DestroyForm 设置窗口", "Unregister 1", "Unregister 2", "Unregister 3", "Unregister 5",
                                 "RemoveIcon", "Sweep", "Exit 0"}));
    EXPECT_TRUE(m_app.ExitRequested());
    EXPECT_FALSE(m_fake.windows.IsAlive(window));
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());
    EXPECT_TRUE(m_fake.hotkeys.Register(999, 1, kCtrl, 119)); // another program may take Ctrl+F8
    EXPECT_FALSE(m_fake.tray.HasIcon());
    EXPECT_EQ(m_fake.tray.Sweeps(), (std::vector<bool>{false, false}));
    EXPECT_EQ(m_fake.process.ExitCodes(), (std::vector<int>{0}));
}

TEST_F(ApplicationTest, ACloseRequestWhileExitingIsAllowed) {
    m_app.Start();
    m_app.RequestExit();
    EXPECT_FALSE(m_app.SettingsForm().IsLoaded());
    EXPECT_EQ(m_fake.process.ExitCodes(), (std::vector<int>{0}));
}

TEST_F(ApplicationTest, RefusedHotkeysAreWarnedOneByOneAndStartUpGoesOn) {
    m_fake.hotkeys.TakeByOtherProgram(kCtrl, 120);
    WriteSettings(kDefaultSettings);
    m_app.Start();

    ASSERT_EQ(m_fake.windows.Messages().size(), 1u);
    const auto& warning = m_fake.windows.Messages()[0];
    EXPECT_EQ(warning.text, "Ctrl+F9 热键冲突或无效 ");
    EXPECT_EQ(warning.style.icon, ui::MessageIcon::Error);
    EXPECT_TRUE(warning.style.systemModal);
    EXPECT_EQ(warning.style.buttons, ui::MessageButtons::Ok);
    EXPECT_TRUE(WindowShown());
    EXPECT_GE(m_fake.windows.FormState(Window()).activations, 1);

    EXPECT_EQ(Control("状态_截图并复制").picture, FailPicture());
    EXPECT_EQ(Control("状态_截图并翻译").picture, OkPicture());
    EXPECT_EQ(m_fake.hotkeys.Active().size(), 3u);
    EXPECT_EQ(Control("透明标签_热键提示").text, "热键设置完毕!");
    EXPECT_TRUE(m_fake.tray.HasIcon());
}

TEST_F(ApplicationTest, TheSameCombinationTwiceFailsTheSecondBox) {
    WriteSettings("[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F8\r\n");
    m_app.Start();

    EXPECT_EQ(Control("状态_截图").picture, OkPicture());
    EXPECT_EQ(Control("状态_截图并复制").picture, FailPicture());
    ASSERT_EQ(m_fake.windows.Messages().size(), 1u);
    EXPECT_EQ(m_fake.windows.Messages()[0].text, "Ctrl+F8 热键冲突或无效 ");
}

TEST_F(ApplicationTest, BoxesWithoutAHotkeyAreNeitherRegisteredNorWarned) {
    WriteSettings("[Hotkey]\r\n截图热键=无\r\n自助翻译热键=Ctrl+F10\r\n");
    m_app.Start();

    EXPECT_TRUE(m_fake.windows.Messages().empty());
    EXPECT_EQ(m_fake.hotkeys.Active().size(), 1u);
    EXPECT_EQ(Control("编辑框_截图").text, "无");
    EXPECT_EQ(Control("编辑框_截屏并复制").text, "");
    EXPECT_TRUE(Control("状态_截图").picture.empty());
}

TEST_F(ApplicationTest, HotkeysRunTheirCommands) {
    std::vector<Text> ran;
    m_app.SetCommands({.captureToFile = [&] { ran.push_back("file"); },
                       .captureAndCopy = [&] { ran.push_back("copy"); },
                       .selfTranslate = [&] { ran.push_back("translate"); },
                       .captureAndTranslate = [&] { ran.push_back("capture+translate"); },
                       .showMainWindow = {},
                       .setServiceKeys = {}});
    m_app.Start();
    FireHotkey(kCtrl, 122);
    FireHotkey(kCtrl, 119);
    FireHotkey(kCtrl, 121);
    FireHotkey(kCtrl, 120);
    EXPECT_EQ(ran, (std::vector<Text>{"capture+translate", "file", "translate", "copy"}));
}

TEST_F(ApplicationTest, TrayDoubleClickBringsBackAMinimisedWindow) {
    WriteSettings(kDefaultSettings);
    m_app.Start();
    m_app.SettingsForm().SetState(ui::WindowState::Minimised);

    m_fake.windows.FireTray(Window(), kTrayLeftDoubleClick);
    EXPECT_TRUE(WindowShown());
    EXPECT_EQ(m_app.SettingsForm().State(), ui::WindowState::Normal);

    m_app.SettingsForm().Hide();
    m_fake.windows.FireTray(Window(), kTrayMouseMove);
    m_fake.windows.FireTray(Window(), kTrayTaskbarCreated);
    EXPECT_FALSE(WindowShown());
    EXPECT_TRUE(m_fake.windows.PopupMenus().empty());
}

TEST_F(ApplicationTest, TheTrayMenuShowsTheCurrentHotkeyOnce) {
    WriteSettings(kDefaultSettings);
    m_app.Start();

    m_fake.windows.FireTray(Window(), kTrayRightButtonDown);
    EXPECT_EQ(Control("截图翻译").text, "截图翻译(Ctrl+F11)");
    m_fake.windows.FireTray(Window(), kTrayRightButtonDown);
    EXPECT_EQ(Control("截图翻译").text, "截图翻译(Ctrl+F11)");
    EXPECT_EQ(m_fake.windows.PopupMenus(), (std::vector<Text>{"设置", "设置"}));

    TypeHotkey("编辑框_截图并翻译", {ui::kVkAlt, 'Q'});
    m_fake.windows.FireTray(Window(), kTrayRightButtonDown);
    EXPECT_EQ(Control("截图翻译").text, "截图翻译(Alt+Q)");
}

TEST_F(ApplicationTest, TrayMenuEntriesRunTheirCommands) {
    int captures = 0;
    int mainWindows = 0;
    m_app.SetCommands({.captureToFile = {},
                       .captureAndCopy = {},
                       .selfTranslate = {},
                       .captureAndTranslate = [&] { ++captures; },
                       .showMainWindow = [&] { ++mainWindows; },
                       .setServiceKeys = {}});
    WriteSettings(kDefaultSettings);
    m_app.Start();

    m_fake.windows.Click(Window(), "截图翻译");
    m_fake.windows.Click(Window(), "显示界面");
    EXPECT_EQ(captures, 1);
    EXPECT_EQ(mainWindows, 1);
    EXPECT_FALSE(WindowShown());
    m_fake.windows.Click(Window(), "OCR设置");
    EXPECT_TRUE(WindowShown());
}

} // namespace
} // namespace tovrik::app
