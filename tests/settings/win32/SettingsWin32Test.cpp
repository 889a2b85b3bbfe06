// What only the Windows build decides: the program directory, and the profile functions'
// answer to a settings file marked read-only.
#include "files/Files.h"
#include "settings/ProgramDirectory.h"
#include "settings/SettingsStore.h"
#include "util/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tovrik::settings {
namespace {

TEST(SettingsWin32Test, TheProgramDirectoryIsTheExecutableFolder) {
    EXPECT_EQ(ProgramDirectory(), files::ExecutableDirectory());
}

TEST(SettingsWin32Test, AReadOnlyFileIsNeverChanged) {
    const testing::TempDir folder;
    const SettingsStore store(folder.Path());
    store.WriteDefaults();
    ASSERT_TRUE(SetFileAttributesA(store.SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
    store.WriteItem("Hotkey", "截图热键", "Alt+Q");
    store.WriteDefaults();
    EXPECT_EQ(store.ReadItem("Hotkey", "截图热键"), "Ctrl+F8");
    ASSERT_TRUE(SetFileAttributesA(store.SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL));
    store.WriteItem("Hotkey", "截图热键", "Alt+Q");
    EXPECT_EQ(store.ReadItem("Hotkey", "截图热键"), "Alt+Q");
}

} // namespace
} // namespace tovrik::settings
