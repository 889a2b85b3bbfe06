#include "ShellFixture.h"

#include "app/Autostart.h"
#include "app/StatusPictures.h"

#include <tuple>

namespace tovrik::app {
namespace {

using SettingsWindowTest = ShellFixture;

TEST_F(SettingsWindowTest, TheDefaultFileFillsTheHotkeyBoxesAndClearsTheRest) {
    WriteSettings(kDefaultSettings);
    m_app.Start();

    EXPECT_EQ(Control("编辑框_截图").text, "Ctrl+F8");
    EXPECT_EQ(Control("编辑框_截屏并复制").text, "Ctrl+F9");
    EXPECT_EQ(Control("编辑框_自助翻译_3").text, "Ctrl+F10");
    EXPECT_EQ(Control("编辑框_截图并翻译").text, "Ctrl+F11");
    EXPECT_EQ(Control("编辑框_延时截屏_4").text, "Ctrl+Alt+A"); // never loaded
    for (const char* box : {"编辑框_识别ApiKey", "编辑框_识别SecretKey", "编辑框_翻译AppId", "编辑框_翻译key"}) {
        EXPECT_EQ(Control(box).text, "") << box;
    }
    for (const char* box : {"选择框_自动翻译", "选择框_自动朗读", "选择框_开机启动", "选择框_截图隐藏"}) {
        EXPECT_FALSE(Control(box).checked) << box;
    }
}

TEST_F(SettingsWindowTest, KeysOptionsAndAutostartAreLoadedAndTheKeysHandedOver) {
    WriteSettings(Text(kDefaultSettings) +
                  "[OCR]\r\n识别ApiKey=api\r\n识别SecretKey=secret\r\n翻译AppId=2015\r\n翻译key=tkey\r\n"
                  "自动翻译=真\r\n自动朗读=true\r\n[Config]\r\n截图时隐藏=真\r\n");
    ASSERT_TRUE(m_fake.autostart.SetEntry("TovrikOcr", "/somewhere/TovrikOcr"));
    std::vector<std::tuple<Text, Text, Text, Text>> handed;
    m_app.SetCommands({.captureToFile = {},
                       .captureAndCopy = {},
                       .selfTranslate = {},
                       .captureAndTranslate = {},
                       .showMainWindow = {},
                       .setServiceKeys = [&](TextView appId, TextView key, TextView api, TextView secret) {
                           handed.emplace_back(appId, key, api, secret);
                       }});
    m_app.Start();

    EXPECT_EQ(Control("编辑框_识别ApiKey").text, "api");
    EXPECT_EQ(Control("编辑框_识别SecretKey").text, "secret");
    EXPECT_EQ(Control("编辑框_翻译AppId").text, "2015");
    EXPECT_EQ(Control("编辑框_翻译key").text, "tkey");
    EXPECT_EQ(handed, (std::vector<std::tuple<Text, Text, Text, Text>>{{"2015", "tkey", "api", "secret"}}));
    EXPECT_TRUE(Control("选择框_自动翻译").checked);
    EXPECT_FALSE(Control("选择框_自动朗读").checked); // only "真" is true
    EXPECT_TRUE(Control("选择框_截图隐藏").checked);
    EXPECT_TRUE(Control("选择框_开机启动").checked);
}

TEST_F(SettingsWindowTest, OptionClicksStoreTheirOwnItemAtOnce) {
    WriteSettings(kDefaultSettings);
    m_app.Start();

    m_fake.windows.Click(Window(), "选择框_自动翻译");
    EXPECT_EQ(Item("OCR", "自动翻译"), "真");
    EXPECT_EQ(Item("OCR", "自动朗读"), "");
    m_fake.windows.Click(Window(), "选择框_自动翻译");
    EXPECT_EQ(Item("OCR", "自动翻译"), "假");

    m_fake.windows.Click(Window(), "选择框_截图隐藏");
    EXPECT_EQ(Item("Config", "截图时隐藏"), "真");
    EXPECT_EQ(Item("OCR", "截图时隐藏"), "");
    m_fake.windows.Click(Window(), "选择框_自动朗读");
    EXPECT_EQ(Item("OCR", "自动朗读"), "真");
    EXPECT_EQ(Item("OCR", "自动翻译"), "假");
    EXPECT_EQ(Item("Hotkey", "截图热键"), "Ctrl+F8");
}

TEST_F(SettingsWindowTest, TheAutostartBoxSwitchesTheEntry) {
    WriteSettings(kDefaultSettings);
    m_app.Start();

    m_fake.windows.Click(Window(), "选择框_开机启动");
    ASSERT_TRUE(m_fake.autostart.HasEntry("TovrikOcr"));
    EXPECT_EQ(m_fake.autostart.Entries().at("TovrikOcr"), ExecutablePath());
    m_fake.windows.Click(Window(), "选择框_开机启动");
    EXPECT_FALSE(m_fake.autostart.HasEntry("TovrikOcr"));
}

TEST_F(SettingsWindowTest, RestoreDefaultsAnsweredNoChangesNothing) {
    const Text text = Text(kDefaultSettings) + "[OCR]\r\n识别ApiKey=api\r\n";
    WriteSettings(text);
    m_app.Start();
    m_fake.windows.Answer(ui::MessageResult::No);
    m_fake.windows.Click(Window(), "恢复默认");

    ASSERT_EQ(m_fake.windows.Messages().size(), 1u);
    EXPECT_EQ(m_fake.windows.Messages()[0].text, "恢复默认设置将会重启软件！");
    EXPECT_EQ(m_fake.windows.Messages()[0].title, "提示");
    EXPECT_EQ(m_fake.windows.Messages()[0].style.buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(ReadSettings(), text);
    EXPECT_TRUE(m_fake.process.Relaunches().empty());
    EXPECT_TRUE(m_fake.process.ExitCodes().empty());
}

TEST_F(SettingsWindowTest, RestoreDefaultsAnsweredYesResetsTheFileAndRestarts) {
    WriteSettings(Text(kDefaultSettings) + "[OCR]\r\n识别ApiKey=api\r\nAccessToken=24.abc\r\n");
    m_app.Start();
    ASSERT_FALSE(Control("按钮_申请key").enabled);
    m_fake.windows.Answer(ui::MessageResult::Yes);
    m_fake.windows.Click(Window(), "恢复默认");

    EXPECT_EQ(ReadSettings(), kDefaultSettings);
    ASSERT_EQ(m_fake.process.Relaunches().size(), 1u);
    EXPECT_EQ(m_fake.process.Relaunches()[0].waitCount, 1);
    EXPECT_EQ(m_fake.process.Relaunches()[0].programDirectory, m_dir.Path());
    EXPECT_EQ(m_fake.process.Relaunches()[0].executable, ExecutablePath());
    EXPECT_EQ(m_fake.process.ExitCodes(), (std::vector<int>{0}));

    // The copy that the restart starts finds no keys and no token.
    fakes::FakePorts fake;
    Application restarted{fake.Ports(), m_dir.Path()};
    restarted.Start();
    EXPECT_EQ(fake.windows.ControlState(restarted.SettingsForm().Id(), "编辑框_识别ApiKey").text, "");
    EXPECT_TRUE(fake.windows.ControlState(restarted.SettingsForm().Id(), "按钮_申请key").enabled);
}

TEST_F(SettingsWindowTest, TheFocusedHotkeyRowIsFramedInBlue) {
    WriteSettings(kDefaultSettings);
    m_app.Start();
    m_fake.windows.Focus(Window(), "编辑框_截屏并复制");
    m_fake.windows.Focus(Window(), "编辑框_自助翻译_3");

    EXPECT_EQ(Control("编辑框边框_自助翻译").border, 0xFF0000u);
    for (const char* frame :
         {"编辑框边框_截屏", "编辑框边框_截屏并复制", "编辑框边框_延时截屏", "编辑框边框_截图并翻译"}) {
        EXPECT_EQ(Control(frame).border, 0xC0C0C0u) << frame;
    }
}

TEST_F(SettingsWindowTest, LeavingAHotkeyBoxStoresItsTextAndShowsItsState) {
    WriteSettings(kDefaultSettings);
    m_app.Start();

    TypeHotkey("编辑框_截图", {ui::kVkControl, ui::kVkAlt, 'A'});
    EXPECT_EQ(Item("Hotkey", "截图热键"), "Ctrl+Alt+A");
    EXPECT_TRUE(Holds(kModControl | kModAlt, 'A'));
    EXPECT_FALSE(Holds(kModControl, 119));
    EXPECT_EQ(Control("状态_截图").picture, OkPicture());

    // Taken by the capture-and-copy box: refused, yet the text is kept and stored.
    TypeHotkey("编辑框_截图", {ui::kVkControl, 120});
    EXPECT_EQ(Control("编辑框_截图").text, "Ctrl+F9");
    EXPECT_EQ(Item("Hotkey", "截图热键"), "Ctrl+F9");
    EXPECT_EQ(Control("状态_截图").picture, FailPicture());
    EXPECT_TRUE(m_fake.windows.Messages().empty()); // no warning after start-up

    // A lone modifier leaves "无", which shows the fail picture too.
    TypeHotkey("编辑框_截图", {ui::kVkControl});
    EXPECT_EQ(Item("Hotkey", "截图热键"), "无");
    EXPECT_EQ(Control("状态_截图").picture, FailPicture());
}

TEST_F(SettingsWindowTest, ADesktopWithoutGlobalHotkeysFailsEveryRowAndShowsItsHintWithoutWarnings) {
    WriteSettings(kDefaultSettings);
    m_fake.hotkeys.unavailableHint = "请绑定 TovrikOcr --capture-to-file 等命令";
    m_app.Start();

    for (const char* status : {"状态_截图", "状态_截图并复制", "状态_自助翻译", "状态_截图并翻译"}) {
        EXPECT_EQ(Control(status).picture, FailPicture()) << status;
    }
    EXPECT_EQ(Control("透明标签_热键提示").text, "请绑定 TovrikOcr --capture-to-file 等命令");
    // Not four conflicts: no box warns, and the window stays hidden.
    EXPECT_TRUE(m_fake.windows.Messages().empty());
    EXPECT_FALSE(WindowShown());

    // A changed box asks the desktop again and still shows the failure.
    TypeHotkey("编辑框_截图", {ui::kVkControl, ui::kVkAlt, 'A'});
    EXPECT_EQ(Item("Hotkey", "截图热键"), "Ctrl+Alt+A");
    EXPECT_EQ(Control("状态_截图").picture, FailPicture());
    EXPECT_TRUE(m_fake.windows.Messages().empty());
}

TEST_F(SettingsWindowTest, TheDelayedCaptureBoxIsStoredButNeverRegistered) {
    WriteSettings(kDefaultSettings);
    m_app.Start();
    m_fake.hotkeys.ClearCalls();

    TypeHotkey("编辑框_延时截屏_4", {ui::kVkControl, 'D'});
    EXPECT_EQ(Item("Hotkey", "延时截屏热键"), "Ctrl+Alt+A"); // its keys are not captured
    EXPECT_EQ(Control("状态_延时截图").picture, FailPicture());
    EXPECT_TRUE(m_fake.hotkeys.Calls().empty());
}

} // namespace
} // namespace tovrik::app
