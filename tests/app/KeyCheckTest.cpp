#include "ProgramFixture.h"

#include "app/KeyCheck.h"

#include <gmock/gmock.h>

namespace tovrik::app {
namespace {

using ::testing::HasSubstr;

// No token cached: the key boxes are tested when left.
class KeyCheckTest : public ProgramFixture {
protected:
    void WriteSettingsFile() override {
        ASSERT_TRUE(files::WriteFile(files::JoinPath(m_dir.Path(), "ZuDur.ini"),
                                     "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截图并翻译热键=Ctrl+F11\r\n"));
    }
    void TypeKeysAndLeave(TextView apiKey, TextView secretKey) {
        m_fake.windows.TypeText(SettingsId(), "编辑框_识别ApiKey", apiKey);
        m_fake.windows.TypeText(SettingsId(), "编辑框_识别SecretKey", secretKey);
        m_fake.windows.Focus(SettingsId(), "恢复默认");
    }
    [[nodiscard]] bool ApplyEnabled() { return m_program.App().SettingsForm().GetEnabled("按钮_申请key"); }
    [[nodiscard]] Text Item(TextView key) { return m_program.App().Store().ReadItem("OCR", key); }
};

TEST_F(KeyCheckTest, AcceptedKeysAreKeptAndTheButtonGreysOut) {
    ASSERT_TRUE(ApplyEnabled());
    m_web.Script({true, 200, {}, R"({"access_token":"fresh","expires_in":2592000})"});

    TypeKeysAndLeave("my-api", "my-secret");

    // Leaving the first box with the second still empty asked nothing.
    ASSERT_EQ(m_web.Requests().size(), 1u);
    EXPECT_EQ(m_web.LastRequest().body, "grant_type=client_credentials&client_id=my-api&client_secret=my-secret");
    EXPECT_EQ(Item("识别ApiKey"), "my-api");
    EXPECT_EQ(Item("识别SecretKey"), "my-secret");
    EXPECT_EQ(Item("AccessToken"), "fresh");
    EXPECT_EQ(m_program.App().SettingsForm().GetText("透明标签_热键提示"), kKeysAccepted);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(m_fake.windows.WaitedMs(), 1380);

    // Known token: editing again tests nothing and writes nothing.
    TypeKeysAndLeave("other-api", "other-secret");
    EXPECT_EQ(m_web.Requests().size(), 1u);
    EXPECT_EQ(Item("识别ApiKey"), "my-api");
}

TEST_F(KeyCheckTest, RefusedKeysWriteNothingAndLeaveTheButton) {
    m_web.Script({true, 200, {}, R"({"error":"invalid_client"})"});

    TypeKeysAndLeave("bad-api", "bad-secret");

    EXPECT_EQ(m_web.Requests().size(), 1u);
    EXPECT_EQ(Item("识别ApiKey"), "");
    EXPECT_EQ(Item("AccessToken"), "");
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_THAT(m_program.App().SettingsForm().GetText("透明标签_热键提示"), HasSubstr("错误的Api Key"));
    EXPECT_TRUE(m_program.App().SettingsForm().IsShown());
    EXPECT_EQ(m_fake.windows.WaitedMs(), 1380);
}

TEST_F(KeyCheckTest, TranslationKeyBoxesTestNothing) {
    m_fake.windows.TypeText(SettingsId(), "编辑框_识别ApiKey", "api");
    m_fake.windows.TypeText(SettingsId(), "编辑框_识别SecretKey", "secret");
    m_fake.windows.Focus(SettingsId(), "编辑框_翻译AppId");
    const std::size_t requests = m_web.Requests().size();
    m_web.Script({true, 200, {}, R"({"access_token":"t","expires_in":1})"});

    m_fake.windows.TypeText(SettingsId(), "编辑框_翻译key", "k");
    m_fake.windows.Focus(SettingsId(), "恢复默认");

    EXPECT_EQ(m_web.Requests().size(), requests);
}

TEST_F(KeyCheckTest, ApplyButtonOpensTheOcrProductPage) {
    ASSERT_TRUE(m_fake.windows.Click(SettingsId(), "按钮_申请key"));
    ASSERT_EQ(m_fake.shell.OpenedUrls().size(), 1u);
    EXPECT_THAT(m_fake.shell.OpenedUrls()[0], HasSubstr("/product/ocr_general"));
}

TEST_F(ProgramFixture, CachedTokenAtStartUpDisablesTheKeyCheck) {
    EXPECT_FALSE(m_program.App().SettingsForm().GetEnabled("按钮_申请key"));
    m_fake.windows.TypeText(SettingsId(), "编辑框_识别ApiKey", "api");
    m_fake.windows.TypeText(SettingsId(), "编辑框_识别SecretKey", "secret");
    m_fake.windows.Focus(SettingsId(), "恢复默认");
    EXPECT_TRUE(m_web.Requests().empty());
    EXPECT_EQ(m_program.App().Store().ReadItem("OCR", "识别ApiKey"), "");
}

} // namespace
} // namespace tovrik::app
