// What only the Linux build decides itself: its editor's layout of lines the Windows functions
// would rewrite, read-only files, and where the program directory goes.
#include "files/Files.h"
#include "settings/ProgramDirectory.h"
#include "settings/SettingsStore.h"
#include "settings/linux/UserDataDirectory.h"
#include "util/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tovrik::settings {
namespace {

// Sets an environment variable for the length of a test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Apply(value);
    }
    ~ScopedVariable() { Apply(m_old); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SettingsFileLinuxTest, TheDefaultFileKeepsItsBlankLineWhenItemsAreAdded) {
    const testing::TempDir folder;
    const SettingsStore store(folder.Path());
    store.WriteDefaults();
    store.WriteItem("Hotkey", "延时截屏热键", "Ctrl+F12");
    store.WriteFlag("OCR", "自动翻译", true);
    EXPECT_EQ(files::ReadFile(store.SettingsPath()).value_or(""),
              "[Hotkey]\r\n截图热键=Ctrl+F8\r\n截屏并复制热键=Ctrl+F9\r\n自助翻译热键=Ctrl+F10\r\n"
              "截图并翻译热键=Ctrl+F11\r\n延时截屏热键=Ctrl+F12\r\n\r\n[OCR]\r\n自动翻译=真\r\n");
}

TEST(SettingsFileLinuxTest, AReadOnlyFileIsNeverReplaced) {
    const testing::TempDir folder;
    const SettingsStore store(folder.Path());
    store.WriteDefaults();
    ASSERT_EQ(::chmod(store.SettingsPath().c_str(), 0444), 0);
    store.WriteItem("Hotkey", "截图热键", "Alt+Q");
    store.WriteDefaults();
    EXPECT_EQ(store.ReadItem("Hotkey", "截图热键"), "Ctrl+F8");
    ASSERT_EQ(::chmod(store.SettingsPath().c_str(), 0644), 0);
    store.WriteItem("Hotkey", "截图热键", "Alt+Q");
    EXPECT_EQ(store.ReadItem("Hotkey", "截图热键"), "Alt+Q");
}

TEST(SettingsFileLinuxTest, UserDataDirectoryFollowsTheXdgRules) {
    const testing::TempDir folder;
    {
        const ScopedVariable dataHome("XDG_DATA_HOME", folder.Path() + "/data/");
        EXPECT_EQ(UserDataDirectory(), folder.Path() + "/data/TovrikOcr");
        EXPECT_TRUE(files::DirectoryExists(folder.Path() + "/data/TovrikOcr"));
    }
    {
        const ScopedVariable dataHome("XDG_DATA_HOME", std::nullopt);
        const ScopedVariable home("HOME", folder.Path() + "/home");
        EXPECT_EQ(UserDataDirectory(), folder.Path() + "/home/.local/share/TovrikOcr");
        EXPECT_TRUE(files::DirectoryExists(folder.Path() + "/home/.local/share/TovrikOcr"));
    }
    {
        const ScopedVariable dataHome("XDG_DATA_HOME", "relative/path");
        const ScopedVariable home("HOME", folder.Path() + "/home");
        EXPECT_EQ(UserDataDirectory(), folder.Path() + "/home/.local/share/TovrikOcr");
    }
}

TEST(SettingsFileLinuxTest, AWritableExecutableFolderIsTheProgramDirectory) {
    ASSERT_TRUE(files::IsWritableDirectory(files::ExecutableDirectory()));
    EXPECT_EQ(ProgramDirectory(), files::ExecutableDirectory());
}

} // namespace
} // namespace tovrik::settings
