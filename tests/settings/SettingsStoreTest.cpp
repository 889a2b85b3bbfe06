// Runs on both builds: on Windows against the system's profile functions, on Linux against our
// own INI editor, with the same expected bytes.
#include "settings/SettingsStore.h"

#include "files/Files.h"
#include "util/TempDir.h"

#include <gtest/gtest.h>

namespace tovrik::settings {
namespace {

constexpr TextView kDefaultFile = "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F9\r\n自助翻译热键=Ctrl+F10\r\n"
                                  "截图并翻译热键=Ctrl+F11\r\n\r\n";

class SettingsStoreTest : public ::testing::Test {
protected:
    [[nodiscard]] Bytes FileBytes() const { return files::ReadFile(m_store.SettingsPath()).value_or("<missing>"); }
    void Put(BytesView content) const { ASSERT_TRUE(files::WriteFile(m_store.SettingsPath(), content)); }

    testing::TempDir m_folder;
    SettingsStore m_store{m_folder.Path()};
};

TEST_F(SettingsStoreTest, TheFileLivesInTheProgramDirectory) {
    EXPECT_EQ(m_store.SettingsPath(), m_folder.Path() + files::PathSeparator() + "ZuDur.ini");
}

TEST_F(SettingsStoreTest, WritesProduceTheSameBytesAsTheWindowsProfileFunctions) {
    m_store.WriteItem("Hotkey", "截图热键", "Ctrl+F8");
    m_store.WriteItem("OCR", "识别ApiKey", "AbC123");
    m_store.WriteItem("hotkey", "截屏并复制热键", "Ctrl+F9");
    m_store.WriteFlag("Config", "截图时隐藏", false);
    m_store.WriteItem("OCR", "AccessToken", "24.6c5e1ff107f0e8bcef8c46d3424a0e78.2592000.1485488244.282335-8888");
    m_store.WriteItem("ocr", "识别APIKEY", "");
    m_store.WriteItem("OCR", "GetTime", "1607321234012");
    m_store.WriteItem("Hotkey", "截图热键", "Ctrl+Shift+F8");
    m_store.WriteFlag("config", "截图时隐藏", true);
    EXPECT_EQ(FileBytes(), "[Hotkey]\r\n"
                           "截图热键=Ctrl+Shift+F8\r\n"
                           "截屏并复制热键=Ctrl+F9\r\n"
                           "[OCR]\r\n"
                           "识别ApiKey=\r\n"
                           "AccessToken=24.6c5e1ff107f0e8bcef8c46d3424a0e78.2592000.1485488244.282335-8888\r\n"
                           "GetTime=1607321234012\r\n"
                           "[Config]\r\n"
                           "截图时隐藏=真\r\n");
    EXPECT_EQ(m_store.ReadItem("HOTKEY", "截图热键"), "Ctrl+Shift+F8");
    EXPECT_EQ(m_store.ReadItem("OCR", "识别ApiKey"), "");
    EXPECT_EQ(m_store.ReadItem("OCR", "GetTime"), "1607321234012");
    EXPECT_TRUE(m_store.ReadFlag("Config", "截图时隐藏"));
}

TEST_F(SettingsStoreTest, DefaultsReplaceTheWholeFileByteForByte) {
    m_store.WriteItem("OCR", "AccessToken", "token");
    m_store.WriteItem("Hotkey", "截图热键", "Alt+Q");
    m_store.WriteDefaults();
    EXPECT_EQ(FileBytes(), kDefaultFile);
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截图热键"), "Ctrl+F8");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截屏并复制热键"), "Ctrl+F9");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "自助翻译热键"), "Ctrl+F10");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截图并翻译热键"), "Ctrl+F11");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "延时截屏热键"), "");
    EXPECT_EQ(m_store.ReadItem("OCR", "AccessToken"), "");
    EXPECT_EQ(m_store.ReadItem("OCR", "识别ApiKey"), "");
    EXPECT_FALSE(m_store.ReadFlag("OCR", "自动翻译"));
    EXPECT_FALSE(m_store.ReadFlag("OCR", "自动朗读"));
    EXPECT_FALSE(m_store.ReadFlag("Config", "截图时隐藏"));
    // The file keeps working after the defaults.
    m_store.WriteItem("Hotkey", "延时截屏热键", "Ctrl+F12");
    m_store.WriteFlag("OCR", "自动翻译", true);
    EXPECT_EQ(m_store.ReadItem("Hotkey", "延时截屏热键"), "Ctrl+F12");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截图并翻译热键"), "Ctrl+F11");
    EXPECT_TRUE(m_store.ReadFlag("OCR", "自动翻译"));
}

TEST_F(SettingsStoreTest, FlagsAreTrueOnlyForTheWordTrue) {
    m_store.WriteFlag("OCR", "自动翻译", true);
    EXPECT_EQ(m_store.ReadItem("OCR", "自动翻译"), "真");
    EXPECT_TRUE(m_store.ReadFlag("OCR", "自动翻译"));
    m_store.WriteFlag("OCR", "自动翻译", false);
    EXPECT_EQ(m_store.ReadItem("OCR", "自动翻译"), "假");
    EXPECT_FALSE(m_store.ReadFlag("OCR", "自动翻译"));
    for (const TextView other : {"1", "true", "TRUE", "真 真", ""}) {
        m_store.WriteItem("OCR", "自动朗读", other);
        EXPECT_FALSE(m_store.ReadFlag("OCR", "自动朗读")) << other;
    }
    EXPECT_FALSE(m_store.ReadFlag("OCR", "missing"));
}

TEST_F(SettingsStoreTest, AMissingFileOrFolderReadsEmptyAndWritesFailQuietly) {
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截图热键"), "");
    const SettingsStore nowhere(files::JoinPath(m_folder.Path(), "missing"));
    nowhere.WriteItem("Hotkey", "截图热键", "Ctrl+F8");
    nowhere.WriteDefaults();
    EXPECT_EQ(nowhere.ReadItem("Hotkey", "截图热键"), "");
    EXPECT_FALSE(files::FileExists(nowhere.SettingsPath()));
}

TEST_F(SettingsStoreTest, AValueCannotSmuggleInFurtherLines) {
    m_store.WriteDefaults();
    m_store.WriteItem("OCR", "AccessToken", "token\r\n[Hotkey]\r\n截图热键=Alt+F4");
    m_store.WriteItem("OCR", "GetTime", Text("123\0[Hotkey]", 13));
    EXPECT_EQ(m_store.ReadItem("OCR", "AccessToken"), "token");
    EXPECT_EQ(m_store.ReadItem("OCR", "GetTime"), "123");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截图热键"), "Ctrl+F8");
}

TEST_F(SettingsStoreTest, AnEmptyFileGetsItsFirstSection) {
    Put("");
    EXPECT_EQ(m_store.ReadItem("OCR", "k"), "");
    m_store.WriteItem("OCR", "k", "v");
    EXPECT_EQ(FileBytes(), "[OCR]\r\nk=v\r\n");
}

TEST_F(SettingsStoreTest, DuplicateSectionsAndKeysReadTheFirstOne) {
    Put("[OCR]\r\nk=1\r\nk=2\r\n[Other]\r\nk=o\r\n[ocr]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(m_store.ReadItem("OCR", "k"), "1");
    EXPECT_EQ(m_store.ReadItem("OCR", "j"), "");
    m_store.WriteItem("OCR", "k", "5");
    EXPECT_EQ(m_store.ReadItem("OCR", "k"), "5");
    m_store.WriteItem("OCR", "j", "6");
    EXPECT_EQ(m_store.ReadItem("OCR", "j"), "6");
    EXPECT_EQ(m_store.ReadItem("Other", "k"), "o");
}

TEST_F(SettingsStoreTest, BlanksQuotesAndOtherLineEndsReadLikeWindows) {
    Put("; comment\r\n[Hotkey]\n  截图热键  =   Ctrl+F8  \r\n[OCR]\r识别ApiKey=\"  quoted key  \"\r\n");
    EXPECT_EQ(m_store.ReadItem("Hotkey", "截图热键"), "Ctrl+F8");
    EXPECT_EQ(m_store.ReadItem("OCR", "识别ApiKey"), "  quoted key  ");
}

TEST_F(SettingsStoreTest, AUtf8ByteOrderMarkedFileIsReadAsUtf8) {
    Put("\xEF\xBB\xBF; saved by an editor\r\n[OCR]\r\nkey=\xE4\xB8\xAD\xE6\x96\x87\r\n");
    EXPECT_EQ(m_store.ReadItem("OCR", "key"), "中文");
    m_store.WriteItem("OCR", "other", "值");
    EXPECT_EQ(m_store.ReadItem("OCR", "other"), "值");
    EXPECT_EQ(m_store.ReadItem("OCR", "key"), "中文");
}

TEST_F(SettingsStoreTest, BinaryFilesAndVeryLongLinesDoNoHarm) {
    Bytes binary;
    for (int i = 0; i < 5000; ++i) {
        binary += static_cast<char>((i * 73 + 29) % 256);
    }
    Put(binary);
    (void)m_store.ReadItem("OCR", "k");
    m_store.WriteItem("OCR", "k", "v");
    EXPECT_EQ(m_store.ReadItem("OCR", "k"), "v");

    Put("[OCR]\r\nnoise=" + Bytes(300000, 'n') + "\r\n" + Bytes(300000, 'x') + "\r\nk=after\r\n");
    EXPECT_EQ(m_store.ReadItem("OCR", "k"), "after");
    EXPECT_EQ(m_store.ReadItem("OCR", "noise").size(), 64u * 1024);
}

TEST_F(SettingsStoreTest, RepairRewritesUtf8FilesOnceInTheLocalCodePage) {
    // As an editor outside Windows saves it: UTF-8, with and without the mark.
    for (const Bytes& mark : {Bytes(), Bytes("\xEF\xBB\xBF")}) {
        const Bytes utf8 = mark + "[Hotkey]\r\n\xE6\x88\xAA\xE5\x9B\xBE\xE7\x83\xAD\xE9\x94\xAE=Ctrl+F8\r\n"; // 截图热键
        Put(utf8);
        const SettingsCheck check = m_store.Repair();
        EXPECT_EQ(check.repair, SettingsRepair::ConvertedFromUtf8);
        EXPECT_EQ(check.keptAs, m_store.SettingsPath() + ".utf8.bak");
        EXPECT_EQ(files::ReadFile(check.keptAs), utf8);
        EXPECT_EQ(FileBytes(), "[Hotkey]\r\n截图热键=Ctrl+F8\r\n");
        EXPECT_EQ(m_store.ReadItem("Hotkey", "截图热键"), "Ctrl+F8");
        EXPECT_EQ(m_store.Repair().repair, SettingsRepair::None) << "once";
    }
}

TEST_F(SettingsStoreTest, RepairSetsAsideWhatIsNoSettingsFileAndWritesTheDefaults) {
    const Bytes cases[] = {
        Bytes("[Hotkey]\r\n\0\0\0binary", 19), // zero bytes
        "just a note\r\nkey=value without a section\r\n",
    };
    for (const Bytes& damaged : cases) {
        Put(damaged);
        const SettingsCheck check = m_store.Repair();
        EXPECT_EQ(check.repair, SettingsRepair::SetAside) << damaged;
        EXPECT_EQ(check.keptAs, m_store.SettingsPath() + ".bad");
        EXPECT_EQ(files::ReadFile(check.keptAs), damaged);
        EXPECT_EQ(FileBytes(), kDefaultFile);
        EXPECT_EQ(m_store.Repair().repair, SettingsRepair::None) << "once";
    }
}

TEST_F(SettingsStoreTest, RepairLeavesSoundFilesAlone) {
    EXPECT_EQ(m_store.Repair().repair, SettingsRepair::None) << "no file";
    EXPECT_FALSE(files::FileExists(m_store.SettingsPath())) << "and none made";
    const Bytes sound[] = {
        Bytes(kDefaultFile),
        "; comments only\r\n\r\n",
        "",
        "\t[OCR]\rAccessToken=ascii\r",
        Bytes("\xFF\xFE[\0O\0C\0R\0]\0", 12), // UTF-16 with its mark
        "[OCR]\r\n\xd6\xd0\xce\xc4=\xd5\xe6\r\n", // 中文=真 in code page 936
    };
    for (const Bytes& file : sound) {
        Put(file);
        EXPECT_EQ(m_store.Repair().repair, SettingsRepair::None) << ::testing::PrintToString(file);
        EXPECT_EQ(FileBytes(), file);
    }
    EXPECT_FALSE(files::FileExists(m_store.SettingsPath() + ".bad"));
    EXPECT_FALSE(files::FileExists(m_store.SettingsPath() + ".utf8.bak"));
}

} // namespace
} // namespace tovrik::settings
