// What the start-up tells the user about the settings file: a file in UTF-8 or one that is no
// settings file at all, a program folder that takes no settings, and hotkeys that were not set.
#include "ShellFixture.h"

#include "text/Encoding.h"

#include <gmock/gmock.h>

namespace tovrik::app {
namespace {

using ::testing::HasSubstr;

constexpr unsigned kCtrl = kModControl;

class SettingsNoticeTest : public ShellFixture {
protected:
    [[nodiscard]] Text Hint() { return m_app.SettingsForm().GetText("透明标签_热键提示"); }
};

TEST_F(SettingsNoticeTest, AUtf8FileIsConvertedOnceAndItsHotkeysWork) {
    const Bytes utf8 = text::TextToUtf8("[Hotkey]\r\n截图热键=Ctrl+F8\r\n截图并翻译热键=Ctrl+F11\r\n");
    WriteSettings(utf8);

    m_app.Start();

    EXPECT_TRUE(Holds(kCtrl, 119));
    EXPECT_TRUE(Holds(kCtrl, 122));
    EXPECT_EQ(ReadSettings(), "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截图并翻译热键=Ctrl+F11\r\n");
    EXPECT_EQ(files::ReadFile(SettingsPath() + ".utf8.bak"), utf8);
    EXPECT_EQ(Hint(), "设置文件已从 UTF-8 转换为 GBK, 原文件保存为 " + SettingsPath() + ".utf8.bak");
    EXPECT_TRUE(WindowShown());
}

TEST_F(SettingsNoticeTest, AFileThatIsNoSettingsIsSetAsideAndTheDefaultsTakeOver) {
    const Bytes damaged("\x13\x00\x7f garbage \x00\xff", 14);
    WriteSettings(damaged);

    m_app.Start();

    EXPECT_EQ(files::ReadFile(SettingsPath() + ".bad"), damaged);
    EXPECT_EQ(ReadSettings(), kDefaultSettings);
    EXPECT_EQ(m_fake.hotkeys.Active().size(), 4u) << "the default hotkeys";
    EXPECT_EQ(Hint(), "设置文件无法读取, 已另存为 " + SettingsPath() + ".bad, 现在使用默认设置");
    EXPECT_TRUE(WindowShown());
}

TEST_F(SettingsNoticeTest, NoHotkeysMeansNoClaimThatTheyAreSet) {
    WriteSettings("[OCR]\r\n自动翻译=真\r\n");
    m_app.Start();
    EXPECT_TRUE(m_fake.hotkeys.Active().empty());
    EXPECT_THAT(Hint(), HasSubstr("未设置热键"));
    EXPECT_EQ(ReadSettings(), "[OCR]\r\n自动翻译=真\r\n") << "a sound file is left alone";
    EXPECT_FALSE(files::FileExists(SettingsPath() + ".bad"));
}

TEST_F(SettingsNoticeTest, AnUnwritableProgramFolderIsReportedOnTheFirstStartOnly) {
    m_app.SetUnwritableFolder("/opt/tovrik");
    m_app.Start();
    EXPECT_EQ(Hint(), "程序目录 /opt/tovrik 不可写, 设置保存在 " + SettingsPath());
    EXPECT_EQ(ReadSettings(), kDefaultSettings);
}

TEST_F(SettingsNoticeTest, LaterStartsInTheFallbackFolderSayNothingMore) {
    WriteSettings(kDefaultSettings);
    m_app.SetUnwritableFolder("/opt/tovrik");
    m_app.Start();
    EXPECT_EQ(Hint(), "热键设置完毕!");
}

} // namespace
} // namespace tovrik::app
